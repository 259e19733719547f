#include "localisation/LocalizedTexts.h"

#include <QApplication>
#include <QFile>

#include <cstring>

#include "desktop/WarningBox.h"
#include "localisation/LocalisationLog.h"

LocalizedTexts::LocalizedTexts(QString languageFolder, QString applicationTitle)
    : m_languageFolder(std::move(languageFolder)), m_applicationTitle(std::move(applicationTitle)) {
  m_table.SetMissingFileHandler([this](const std::string& message) { ShowMissingFileMessage(message); });
  m_table.SetLoadProblemHandler(&LocalizedTexts::LogLoadProblem);
  m_table.SetLanguageFolder(QFile::encodeName(m_languageFolder).toStdString());
}

bool LocalizedTexts::LoadLanguageFile(const std::string& fileName, bool quiet) {
  return m_table.LoadLanguageFile(fileName, quiet);
}

QString LocalizedTexts::Text(std::uint32_t id, const char* builtIn) const {
  std::string text = builtIn;
  GetString(id, text);
  return WidgetText(text);
}

void LocalizedTexts::ShowMissingFileMessage(const std::string& message) const {
  WarningBox::Show(QApplication::activeWindow(), m_applicationTitle, WidgetText(message));
}

void LocalizedTexts::LogLoadProblem(const std::string& path, const LanguageFileRead& read) {
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
