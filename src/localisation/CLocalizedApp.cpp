#include "localisation/CLocalizedApp.h"

#include "core/ProgramLocation.h"

CLocalizedApp::CLocalizedApp(int& argc, char** argv)
    : QApplication(argc, argv),
      m_texts(QString::fromStdString(BesideProgram("Language")), QString::fromStdString(ProgramTitle())) {}

bool CLocalizedApp::LoadLanguageFile(const std::string& fileName, bool quiet) {
  return m_texts.LoadLanguageFile(fileName, quiet);
}
