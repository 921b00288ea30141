// The file-type registration store and the command-line option that removes it.
#pragma once
#include <string>
#include <vector>

// This system has no registry of file classes: the registration lives in an INI file
// "registry.ini" in $XDG_CONFIG_HOME/tarnex/ (or ~/.config/tarnex/ when XDG_CONFIG_HOME is
// unset, empty or not absolute). Keys are sections, a key's default value is the entry "@":
//   [Tarn.Application\DefaultIcon] @=<exe path>
//   [Tarn.Document.1\DefaultIcon]  @=<exe path>,1
//   [.txt]                         @=Tarn.Document.1
// Failures are ignored by the caller (the functions return false). The desktop's own file
// associations are never touched.
std::string RegistrationStorePath();  // "" when no home directory is known
bool WriteRegistration(const std::string& exePath);
// Deletes Tarn.Application\DefaultIcon, Tarn.Document.1\DefaultIcon, Tarn.Application,
// Tarn.Document.1 and .txt in that order; the file goes when nothing is left in it.
bool RemoveRegistration();

// Over argv[1..]: true at the first option (a word starting with '-' or '/') whose name, up to
// the next '=', '/', blank or tab, equals "unregister" case-insensitively over the option
// name's own length (so /unreg, -U and a lone '-' count).
bool WantsUnregister(const std::vector<std::string>& args);
