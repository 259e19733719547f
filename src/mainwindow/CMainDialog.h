#pragma once

#include <QByteArray>
#include <QIcon>
#include <QString>

#include <memory>
#include <optional>

#include "localisation/CLocalizedDialog.h"

class CIconButton;
class LocalizedTexts;
class ProfileStore;
class QueryService;
class QCheckBox;
class QLabel;
class QLineEdit;
class MainDialogQueryLink;
struct ProgramSettings;

// The program's window: URL box, size box, always-on-top check box, status line,
// and the query, paste and settings buttons. Its controls are its own; queries and
// the other parts of the program go through the calls below.
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

  // The settings are read as they are at each moment and stored through `profile`; the
  // texts are the process's, loaded anew when the user picks another language; queries
  // and the clipboard's address rule come from `queries`.
  CMainDialog(ProgramSettings& settings, ProfileStore& profile, LocalizedTexts& texts, QueryService& queries,
              QWidget* parent = nullptr);
  ~CMainDialog() override;

  // The address given on the command line, asked once when the window first shows.
  void SetStartURL(const QString& address) { m_strStartURL = address; }
  // Renders, off screen, the glyphs a first copied address and its query will show: the
  // characters of an address, the size's digits and every status text.
  void PrepareTextDrawing();

  // What a size query reads and shows; each change is painted at once.
  QString Address() const;
  void ShowStatus(const QString& text);
  void ShowSizeText(const QString& text);
  // A byte count in the size box, grouped as GroupDigits says at this moment.
  void ShowSize(std::uint64_t size);
  // Disabling goes query button, then paste button; enabling the other way round.
  void EnableQueryButtons(bool enabled);
  // Whether the user has https addresses asked too.
  bool AsksHttps() const;
  // Whether a size the server did not say is asked for in another way too.
  bool AsksSizeOtherWays() const;

  // The query button and Enter: start a query; the window stays open.
  void OnOK();
  // The clipboard changed: an address copied in another program is taken.
  void OnDrawClipboard();
  // The paste button: the same capture by hand.
  void OnPasteURL();
  // The settings button: the settings dialog; once accepted, the language is loaded again
  // and the window's texts are set anew.
  void OnSettings();
  // Takes an HTTP or FTP address from the clipboard into the URL box and, when the user
  // wants it, asks for its size. True for a usable address or the URL box's own text.
  bool TakeURLFromClipboard(bool fromButton);
  // The texts of the labels, check box, tooltips and menu item, set again after the
  // language changed: built-in texts where the table has none.
  void SetControlTexts();
  // A second copy's hand-off: come forward and query a new address.
  void OnExchangeNotify(const std::optional<QByteArray>& message);

  std::shared_ptr<MainDialogQueryLink> QueryLink() const { return m_queryLink; }
  QAction* AboutAction() const { return m_aboutAction; }

 signals:
  // The About item of the window's menu (or F1) was chosen.
  void AboutRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void accept() override;
  void done(int result) override;

 private:
  enum class TextMoment { Start, LanguageChanged };

  void CreateControls();
  void LayOutControls();
  void OnInitDialog();
  void ApplyTexts(TextMoment moment);
  void OnShowWindow();
  void OnTopmost();
  void OnDestroy();
  void PutInTopmostBand(bool topmost);
  void RestoreWindowPosition();
  void PutAddress(const QString& address);
  // Sets a control's text and paints it at once.
  void SetTextAndUpdate(QWidget* control, const QString& text);
  void ShowFileSize(QWidget* control, std::uint64_t size);
  void ShowSizeTip();

  ProgramSettings& m_settings;
  ProfileStore& m_profile;
  LocalizedTexts& m_texts;
  QueryService& m_queries;
  QString m_strStartURL;
  CIconButton* m_btnSettings;
  CIconButton* m_btnQuery;
  CIconButton* m_btnPaste;
  QLineEdit* m_editStatus;
  QLineEdit* m_editURL;
  QLineEdit* m_editSize;
  QCheckBox* m_checkTopmost;
  QIcon m_hIcon;
  QLabel* m_labelURL;
  QLabel* m_labelSize;
  QAction* m_aboutAction;
  std::shared_ptr<MainDialogQueryLink> m_queryLink;
  struct ShownSize {
    std::uint64_t bytes;
    bool groupDigits;
  };
  std::optional<ShownSize> m_sizeShown;  // the size in the size box, if it holds one
  bool m_shown = false;
  bool m_destroyed = false;
};
