// Files the tests write and read back whole, byte for byte.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>
#include <string>

inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
  file.write(bytes);
}

// An empty array where the file cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const std::string& path, const std::string& text) {
  WriteFile(QString::fromStdString(path), QByteArray::fromStdString(text));
}

inline std::string ReadAll(const std::string& path) { return ReadFile(QString::fromStdString(path)).toStdString(); }
