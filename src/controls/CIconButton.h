#pragma once

#include <QIcon>
#include <QPoint>
#include <QPushButton>
#include <QSize>

class QPainter;

// A push button without a caption that shows one icon centred on its face, at the icon's own size.
// The platform style still draws the face; the icon goes on top of it, greyed when
// the button is disabled and nudged one pixel while pressed on the classic style,
// whose face gives no other sign of being pushed in.
class CIconButton : public QPushButton {
  Q_OBJECT
 public:
  explicit CIconButton(QWidget* parent = nullptr);
  ~CIconButton() override;

  // Takes the icon, dropping the one shown so far; a null icon leaves the face bare.
  virtual bool SetIcon(const QIcon& icon);
  virtual bool RemoveIcon();
  // Fixes the icon's drawn size: its own size, the smallest it comes in when it has
  // several (the larger ones serve high-density screens); kept until the next SetIcon.
  virtual void MeasureIcon();
  virtual void PaintIcon(QPainter& painter);
  // The themed flag: true unless the button is drawn by the classic Windows style.
  virtual bool DetectTheme();

  bool IsThemed() const { return m_bThemed; }
  QSize IconSize() const { return {m_nIconWidth, m_nIconHeight}; }
  // Where the icon's top-left corner goes if the button were painted now.
  QPoint IconPosition() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QIcon m_hIcon;
  int m_nIconWidth = 0;
  int m_nIconHeight = 0;
  bool m_bThemed = false;
};
