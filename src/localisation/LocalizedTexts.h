#pragma once

#include <QString>

#include <string>

#include "core/LanguageTable.h"

// The process's texts as the windows use them: the language table, the folder its files
// come from, and what a window needs to show a text, or a message about a file that is
// missing. The application makes one and hands it to every window it opens.
class LocalizedTexts {
 public:
  // `applicationTitle` titles the message boxes (the executable's name without extension).
  LocalizedTexts(QString languageFolder, QString applicationTitle);
  LocalizedTexts(const LocalizedTexts&) = delete;
  LocalizedTexts& operator=(const LocalizedTexts&) = delete;

  // A bare file name from LanguageFolder(), or "<main>". A file that cannot be opened is
  // reported in a message box over the active window unless `quiet`.
  bool LoadLanguageFile(const std::string& fileName, bool quiet);
  bool GetString(std::uint32_t id, std::string& text) const { return m_table.GetString(id, text); }
  // The table's text for `id`, else `builtIn`, as a QString for widgets.
  QString Text(std::uint32_t id, const char* builtIn) const;

  LanguageTable& Table() { return m_table; }
  const LanguageTable& Table() const { return m_table; }
  const QString& LanguageFolder() const { return m_languageFolder; }
  const QString& ApplicationTitle() const { return m_applicationTitle; }

 private:
  void ShowMissingFileMessage(const std::string& message) const;
  static void LogLoadProblem(const std::string& path, const LanguageFileRead& read);

  const QString m_languageFolder;
  const QString m_applicationTitle;
  LanguageTable m_table;
};

// A language text for a widget: line breaks are CR LF in the table, LF on screen.
QString WidgetText(const std::string& text);
