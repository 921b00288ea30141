// The workbench started whole, as a user starts it: a settings home of the
// test program's own, a fresh working directory for every test, and scripted
// prompts that must all have been asked by the test's end. A test class
// calls SetUpHome from initTestCase, SetUpWork from init and TearDown from
// cleanup.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "App.h"
#include "EditFile.h"
#include "Files.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "MdiClient.h"
#include "ScriptedPrompts.h"

class TAppFixture {
protected:
  QTemporaryDir Home;
  std::unique_ptr<QTemporaryDir> Work;
  std::unique_ptr<TScriptedPrompts> Script;
  std::unique_ptr<TTarnApp> App;

  void SetUpHome() {
    QVERIFY(Home.isValid());
    qputenv("XDG_CONFIG_HOME", Home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("TARN_NO_SPLASH", "1");
  }
  // NAME, where given, is the working directory's name pattern.
  void SetUpWork(const QString& name = QString()) {
    Work = name.isEmpty() ? std::make_unique<QTemporaryDir>()
                          : std::make_unique<QTemporaryDir>(QDir::tempPath() + QLatin1Char('/') + name);
    QVERIFY(Work->isValid());
    QVERIFY(QDir::setCurrent(Work->path()));
    Script = std::make_unique<TScriptedPrompts>();
  }
  void TearDown() {
    App.reset();
    if (Script)
      QCOMPARE(Script->Pending(), 0);
    Script.reset();
    QDir::setCurrent(Home.path());
    Work.reset();
  }

  TTarnApp& StartApp(const QStringList& args = {}) {
    App = std::make_unique<TTarnApp>();
    App->Start(args);
    return *App;
  }
  TTarnMDIClient& Client() { return *App->Client(); }
  TTarnEditFile* ActiveEditor() { return Client().ActiveEditor(); }
  // A file in the working directory holding TEXT; its path.
  QString WorkFile(const QString& name, const QByteArray& text = "\tDFB 1\n") {
    const QString path = Work->filePath(name);
    WriteFile(path, text);
    return path;
  }
};
