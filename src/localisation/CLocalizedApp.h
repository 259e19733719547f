#pragma once

#include <QApplication>

#include <string>

#include "localisation/LanguageTable.h"

// The application object with the process's language table.
class CLocalizedApp : public QApplication {
  Q_OBJECT
 public:
  CLocalizedApp(int& argc, char** argv);

  // The running application object.
  static CLocalizedApp* Current();

  // The "Language" folder beside the real executable (symlinks to it resolved):
  // where language files are loaded from and listed.
  static QString LanguageFolder();

  // A bare file name from LanguageFolder(), or "<main>".
  // A file that cannot be opened is reported in a message box unless `quiet`.
  virtual bool LoadLanguageFile(const std::string& fileName, bool quiet);
  virtual bool GetString(std::uint32_t id, std::string& text) const;

  // The table's text for `id`, else `builtIn`, as a QString for widgets.
  QString Text(std::uint32_t id, const char* builtIn) const;

  // The executable's name without its extension: titles the message boxes.
  QString ApplicationTitle() const;
  LanguageTable& Languages() { return m_languageTable; }

 private:
  void ShowMissingFileMessage(const std::string& message);
  static void LogLoadProblem(const std::string& path, const LanguageFileRead& read);

  LanguageTable m_languageTable;
};

// A language text for a widget: line breaks are CR LF in the table, LF on screen.
QString WidgetText(const std::string& text);
