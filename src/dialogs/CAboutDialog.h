#pragma once

#include <vector>

#include "localisation/CLocalizedDialog.h"

class CHyperLink;
class QGroupBox;
class QLabel;
class QPushButton;
class QShowEvent;

// The About box: the program's name and version, who made it, a rights notice, and links
// to the home page and the support address. Its texts and link targets are set at each
// opening, so a change of language shows the next time it opens.
class CAboutDialog : public CLocalizedDialog {
  Q_OBJECT
 public:
  enum ControlId : std::uint32_t {
    IDOK = 1,
    IDC_HOME_PAGE_LINK = 1007,
    IDC_EMAIL_LINK = 1008,
    IDC_PROGRAM = 1009,
    IDC_VERSION = 1010,
    IDC_DEVELOPER = 1011,
    IDC_INSTITUTION = 1012,
    IDC_RIGHTS = 1013,
    IDC_HOME_PAGE_LABEL = 1014,
    IDC_EMAIL_LABEL = 1015,
  };

  explicit CAboutDialog(const LocalizedTexts& texts, QWidget* parent = nullptr);
  ~CAboutDialog() override;

  // The caption and the eight texts, from the language table or the built-in texts.
  virtual void ApplyAboutTexts();

  CHyperLink* HomePageLink() const { return m_linkHomePage; }
  CHyperLink* EmailLink() const { return m_linkEmail; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void DoDataExchange();
  void OnInitDialog();
  void LayOutControls();

  CHyperLink* m_linkHomePage;
  CHyperLink* m_linkEmail;
  QPushButton* m_btnOK;
  QGroupBox* m_frame;
  QLabel* m_labelHomePage;
  QLabel* m_labelEmail;
  QLabel* m_pictureBrowser;
  QLabel* m_pictureEnvelope;
  std::vector<QLabel*> m_lines;  // program, version, developer, institution, rights
};
