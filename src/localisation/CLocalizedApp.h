#pragma once

#include <QApplication>

#include <string>

#include "localisation/LocalizedTexts.h"

// The application object with the process's texts, which it hands to its windows.
class CLocalizedApp : public QApplication {
  Q_OBJECT
 public:
  // The texts come from the "Language" folder beside the real executable (links to it
  // resolved), and message boxes are titled with the executable's name.
  CLocalizedApp(int& argc, char** argv);

  // A bare file name from the language folder, or "<main>".
  // A file that cannot be opened is reported in a message box unless `quiet`.
  virtual bool LoadLanguageFile(const std::string& fileName, bool quiet);

  LocalizedTexts& Texts() { return m_texts; }

 private:
  LocalizedTexts m_texts;
};
