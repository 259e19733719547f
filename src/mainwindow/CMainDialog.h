#pragma once

#include <QByteArray>
#include <QIcon>
#include <QString>

#include <memory>
#include <optional>

#include "localisation/CLocalizedDialog.h"

class CIconButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class MainDialogQueryLink;

// The program's window: URL box, size box, always-on-top check box, status line,
// and the query, paste and settings buttons.
class CMainDialog : public CLocalizedDialog {
  Q_OBJECT
 public:
  // Control IDs, as language files and the control-to-text table know them.
  enum ControlId : std::uint32_t {
    IDOK = 1,
    IDC_URL = 1000,
    IDC_SIZE = 1001,
    IDC_TOPMOST = 1002,
    IDC_PASTE = 1003,
    IDC_STATUS = 1004,
    IDC_SETTINGS = 1005,
    IDC_URL_LABEL = 1016,
    IDC_SIZE_LABEL = 1017,
  };
  static constexpr std::uint32_t IDM_ABOUTBOX = 16;
  static const ControlTextEntry MainControlTexts[];

  explicit CMainDialog(QWidget* parent = nullptr);
  ~CMainDialog() override;

  // Sets a control's text and paints it at once.
  void SetTextAndUpdate(QWidget* control, const QString& text);
  // Writes a byte count into a control, grouped as GroupDigits says at this moment.
  void ShowFileSize(QWidget* control, std::uint64_t size);
  // The query button and Enter: start a query; the window stays open.
  void OnOK();
  // The texts of the labels, check box, tooltips and menu item, from the language table.
  void SetControlTexts();
  // A second copy's hand-off: come forward and query a new address.
  void OnExchangeNotify(const std::optional<QByteArray>& message);

  std::shared_ptr<MainDialogQueryLink> QueryLink() const { return m_queryLink; }
  QAction* AboutAction() const { return m_aboutAction; }

  QString m_strStartURL;
  CIconButton* m_btnSettings;
  CIconButton* m_btnQuery;
  CIconButton* m_btnPaste;
  QLineEdit* m_editStatus;
  QLineEdit* m_editURL;
  QLineEdit* m_editSize;
  QCheckBox* m_checkTopmost;
  QIcon m_hIcon;

 signals:
  // The About item of the window's menu (or F1) was chosen.
  void AboutRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void accept() override;
  void done(int result) override;

 private:
  void CreateControls();
  void LayOutControls();
  void OnInitDialog();
  void OnShowWindow();
  void OnTopmost();
  void OnDestroy();
  void PutInTopmostBand(bool topmost);
  void RestoreWindowPosition();
  QRect DialogUnits(int x, int y, int width, int height) const;

  QLabel* m_labelURL;
  QLabel* m_labelSize;
  QAction* m_aboutAction;
  std::shared_ptr<MainDialogQueryLink> m_queryLink;
  bool m_bShown = false;
  bool m_bDestroyed = false;
};
