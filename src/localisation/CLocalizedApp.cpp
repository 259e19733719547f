#include "localisation/CLocalizedApp.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

#include "desktop/WarningBox.h"
#include "localisation/LocalisationLog.h"

CLocalizedApp::CLocalizedApp(int& argc, char** argv) : QApplication(argc, argv) {
  m_languageTable.SetMissingFileHandler([this](const std::string& message) { ShowMissingFileMessage(message); });
  m_languageTable.SetLoadProblemHandler(&CLocalizedApp::LogLoadProblem);
  m_languageTable.SetLanguageFolder(QFile::encodeName(LanguageFolder()).toStdString());
}

CLocalizedApp* CLocalizedApp::Current() { return static_cast<CLocalizedApp*>(QCoreApplication::instance()); }

QString CLocalizedApp::LanguageFolder() {
  // applicationDirPath() resolves symlinks, so a link in bin/ still finds Language/.
  return applicationDirPath() + "/Language";
}

bool CLocalizedApp::LoadLanguageFile(const std::string& fileName, bool quiet) {
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
  WarningBox::Show(activeWindow(), ApplicationTitle(), WidgetText(message));
}

void CLocalizedApp::LogLoadProblem(const std::string& path, const LanguageFileRead& read) {
  const QString file = QFile::decodeName(QByteArray::fromStdString(path));
  const char* why = LanguageFileReader::Describe(read.status);
  if (read.error != 0)
    qCInfo(lcLocalisation).noquote() << "language file" << file << why << "-" << std::strerror(read.error);
  else
    qCInfo(lcLocalisation).noquote() << "language file" << file << why;
}

QString WidgetText(const std::string& text) {
  QString widgetText = QString::fromStdString(text);
  widgetText.replace("\r\n", "\n");
  return widgetText;
}
