#include "localisation/CLocalizedApp.h"

#include <QFileInfo>
#include <QMessageBox>

CLocalizedApp::CLocalizedApp(int& argc, char** argv) : QApplication(argc, argv) {
  m_languageTable.SetMissingFileHandler([this](const std::string& message) { ShowMissingFileMessage(message); });
}

CLocalizedApp* CLocalizedApp::Current() { return static_cast<CLocalizedApp*>(QCoreApplication::instance()); }

bool CLocalizedApp::LoadLanguageFile(const std::string& fileName, bool quiet) {
  // applicationDirPath() resolves symlinks, so a link in bin/ still finds Language/.
  m_languageTable.SetLanguageFolder((applicationDirPath() + "/Language").toStdString());
  return m_languageTable.LoadLanguageFile(fileName, quiet);
}

bool CLocalizedApp::GetString(std::uint32_t id, std::string& text) const {
  return m_languageTable.GetString(id, text);
}

QString CLocalizedApp::Text(std::uint32_t id, const char* builtIn) const {
  std::string text = builtIn;
  GetString(id, text);
  return WidgetText(text);
}

QString CLocalizedApp::ApplicationTitle() const {
  return QFileInfo(applicationFilePath()).completeBaseName();
}

void CLocalizedApp::ShowMissingFileMessage(const std::string& message) {
  QMessageBox::warning(activeWindow(), ApplicationTitle(), WidgetText(message));
}

QString WidgetText(const std::string& text) {
  QString widgetText = QString::fromStdString(text);
  widgetText.replace("\r\n", "\n");
  return widgetText;
}
