#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <memory>
#include <ostream>
#include <optional>

#include "controls/CIconButton.h"

void PrintTo(const QSize& size, std::ostream* os) { *os << size.width() << "x" << size.height(); }
void PrintTo(const QPoint& point, std::ostream* os) { *os << "(" << point.x() << ", " << point.y() << ")"; }
void PrintTo(const QRect& rect, std::ostream* os) {
  *os << rect.width() << "x" << rect.height() << " at (" << rect.x() << ", " << rect.y() << ")";
}

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

QPixmap Solid(QSize size, QRgb colour) {
  QPixmap pixmap(size);
  pixmap.fill(QColor::fromRgb(colour));
  return pixmap;
}

QIcon SolidIcon(QSize size, QRgb colour) { return QIcon(Solid(size, colour)); }

// The smallest rectangle holding every pixel of exactly this colour; empty when there is none.
QRect BoxOf(const QImage& image, QRgb colour) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  QRect box;
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x)
      if ((rgb.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
  return box;
}

QImage Render(QWidget& widget) { return widget.grab().toImage(); }

// Each button gets its own style object, so nothing depends on the desktop's choice
// and the classic look can be asked for by name.
class CIconButtonTest : public ::testing::Test {
 protected:
  void UseStyle(const char* name) {
    auto style = std::unique_ptr<QStyle>(QStyleFactory::create(name));
    ASSERT_NE(style, nullptr) << name;
    button.setStyle(style.get());
    m_styles.push_back(std::move(style));
  }

  // Declared before the button: a style must outlive every widget drawn with it.
  std::vector<std::unique_ptr<QStyle>> m_styles;
  CIconButton button;
};

// ---- where the icon lands ---------------------------------------------------------------

struct PlaceCase {
  const char* name;
  const char* style;
  QSize face;
  bool down;
  QPoint expected;  // top-left corner of the icon, possibly off the face
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class CIconButtonPlaceTest : public CIconButtonTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(CIconButtonPlaceTest, DrawsIconCentredAndPressedOnlyOnClassicStyle) {
  const PlaceCase& c = GetParam();
  UseStyle(c.style);
  button.resize(c.face);
  ASSERT_TRUE(button.SetIcon(SolidIcon({16, 16}, kRed)));
  button.setDown(c.down);

  EXPECT_EQ(button.IconPosition(), c.expected);
  // What is seen is the icon cut to the face.
  const QRect visible = QRect(c.expected, QSize(16, 16)) & QRect(QPoint(0, 0), c.face);
  EXPECT_EQ(BoxOf(Render(button), kRed), visible);
}

INSTANTIATE_TEST_SUITE_P(
    CIconButtonFaces, CIconButtonPlaceTest,
    ::testing::Values(
        // An odd leftover pixel is dropped, not split.
        PlaceCase{"OddWidthThemed", "Fusion", {17, 16}, false, {0, 0}},
        PlaceCase{"OddWidthClassic", "Windows", {17, 16}, false, {0, 0}},
        PlaceCase{"LargeThemed", "Fusion", {27, 26}, false, {5, 5}},
        PlaceCase{"LargeClassic", "Windows", {27, 26}, false, {5, 5}},
        // Pressed: one pixel right and down on the classic face only.
        PlaceCase{"PressedClassic", "Windows", {27, 26}, true, {6, 6}},
        PlaceCase{"PressedClassicOddWidth", "Windows", {17, 16}, true, {1, 1}},
        PlaceCase{"PressedThemed", "Fusion", {27, 26}, true, {5, 5}},
        PlaceCase{"PressedThemedOddWidth", "Fusion", {17, 16}, true, {0, 0}},
        // A face smaller than the icon: the division truncates toward zero (-3 / 2 == -1).
        PlaceCase{"NarrowerThanIcon", "Fusion", {13, 12}, false, {-1, -2}}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

TEST_F(CIconButtonTest, PressAndReleaseMoveTheIconBackOnClassicStyle) {
  UseStyle("Windows");
  button.resize(27, 26);
  button.SetIcon(SolidIcon({16, 16}, kRed));
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  QSignalSpy clicked(&button, &QPushButton::clicked);

  QTest::mousePress(&button, Qt::LeftButton);
  EXPECT_EQ(BoxOf(Render(button), kRed).topLeft(), QPoint(6, 6));
  QTest::mouseRelease(&button, Qt::LeftButton);
  EXPECT_EQ(BoxOf(Render(button), kRed).topLeft(), QPoint(5, 5));
  // Still an ordinary push button underneath.
  EXPECT_EQ(clicked.count(), 1);
}

// ---- theme detection ---------------------------------------------------------------------

TEST_F(CIconButtonTest, ThemedFlagFollowsTheStyleInUse) {
  UseStyle("Windows");
  EXPECT_FALSE(button.IsThemed());
  EXPECT_FALSE(button.DetectTheme());

  button.resize(27, 26);
  button.SetIcon(SolidIcon({16, 16}, kRed));
  button.setDown(true);
  UseStyle("Fusion");  // no explicit DetectTheme: the style change itself must refresh it
  EXPECT_TRUE(button.IsThemed());
  EXPECT_EQ(BoxOf(Render(button), kRed).topLeft(), QPoint(5, 5));

  UseStyle("Windows");
  EXPECT_FALSE(button.IsThemed());
  EXPECT_EQ(BoxOf(Render(button), kRed).topLeft(), QPoint(6, 6));
}

TEST_F(CIconButtonTest, ClassicStyleBehindAProxyStillCountsAsClassic) {
  auto proxy = std::make_unique<QProxyStyle>(QStyleFactory::create("Windows"));
  button.setStyle(proxy.get());
  EXPECT_FALSE(button.IsThemed());
  button.setStyle(nullptr);
}

// ---- measuring ---------------------------------------------------------------------------

struct MeasureCase {
  const char* name;
  std::optional<QSize> pixmap;  // none: a null icon
  QSize expected;
};
void PrintTo(const MeasureCase& c, std::ostream* os) { *os << c.name; }

class CIconButtonMeasureTest : public CIconButtonTest, public ::testing::WithParamInterface<MeasureCase> {};

TEST_P(CIconButtonMeasureTest, MeasuresTheSizeItWillDraw) {
  const MeasureCase& c = GetParam();
  button.SetIcon(c.pixmap ? SolidIcon(*c.pixmap, kRed) : QIcon());
  EXPECT_EQ(button.IconSize(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CIconButtonIcons, CIconButtonMeasureTest,
    ::testing::Values(MeasureCase{"NoIcon", std::nullopt, {0, 0}},
                      MeasureCase{"Sixteen", QSize(16, 16), {16, 16}},
                      MeasureCase{"LargerKeepsItsSize", QSize(32, 32), {32, 32}},
                      MeasureCase{"SmallerIsKept", QSize(8, 8), {8, 8}},
                      MeasureCase{"NotSquare", QSize(24, 12), {24, 12}}),
    [](const ::testing::TestParamInfo<MeasureCase>& info) { return std::string(info.param.name); });

// The larger images of an icon are the same picture for denser screens: the icon
// keeps its smallest size, and on a screen with two device pixels per point that
// size is drawn from the 32-pixel image.
TEST_F(CIconButtonTest, IconWithSeveralSizesIsDrawnAtItsSmallSize) {
  UseStyle("Fusion");
  button.resize(40, 40);
  QIcon icon;
  icon.addPixmap(Solid({16, 16}, kRed));
  icon.addPixmap(Solid({32, 32}, kBlue));
  button.SetIcon(icon);
  EXPECT_EQ(button.IconSize(), QSize(16, 16));
  const QImage image = Render(button);
  EXPECT_EQ(BoxOf(image, kRed), QRect(12, 12, 16, 16));
  EXPECT_TRUE(BoxOf(image, kBlue).isEmpty());

  QImage dense(80, 80, QImage::Format_RGB32);
  dense.setDevicePixelRatio(2);
  dense.fill(Qt::white);
  {
    QPainter painter(&dense);
    button.PaintIcon(painter);
  }
  dense.setDevicePixelRatio(1);  // BoxOf counts device pixels
  EXPECT_EQ(BoxOf(dense, kBlue), QRect(24, 24, 32, 32)) << "12 points in, 16 points wide";
  EXPECT_TRUE(BoxOf(dense, kRed).isEmpty());
}

// An icon is drawn at its own size, centred by the same truncating rule as a small one.
struct RealSizeCase {
  const char* name;
  QSize icon;
  QSize face;
  QPoint expected;
};
void PrintTo(const RealSizeCase& c, std::ostream* os) { *os << c.name; }

class CIconButtonRealSizeTest : public CIconButtonTest, public ::testing::WithParamInterface<RealSizeCase> {};

TEST_P(CIconButtonRealSizeTest, DrawsTheIconAtItsOwnSize) {
  const RealSizeCase& c = GetParam();
  UseStyle("Fusion");
  button.resize(c.face);
  button.SetIcon(SolidIcon(c.icon, kRed));
  EXPECT_EQ(button.IconSize(), c.icon);
  EXPECT_EQ(button.IconPosition(), c.expected);
  EXPECT_EQ(BoxOf(Render(button), kRed), QRect(c.expected, c.icon) & QRect(QPoint(0, 0), c.face));
}

INSTANTIATE_TEST_SUITE_P(
    CIconButtonIconSizes, CIconButtonRealSizeTest,
    ::testing::Values(RealSizeCase{"Sixteen", {16, 16}, {27, 26}, {5, 5}},
                      RealSizeCase{"TwentyFour", {24, 24}, {27, 26}, {1, 1}},
                      RealSizeCase{"ThirtyTwoOnly", {32, 32}, {40, 41}, {4, 4}},
                      // Larger than the face: (27 - 32) / 2 == -2 and (26 - 32) / 2 == -3.
                      RealSizeCase{"ThirtyTwoOnASmallerFace", {32, 32}, {27, 26}, {-2, -3}}),
    [](const ::testing::TestParamInfo<RealSizeCase>& info) { return std::string(info.param.name); });

// ---- replacing, removing, disabling ------------------------------------------------------

TEST_F(CIconButtonTest, SecondIconReplacesTheFirstAndIsMeasuredAfresh) {
  UseStyle("Fusion");
  button.resize(27, 26);
  button.SetIcon(SolidIcon({16, 16}, kRed));
  EXPECT_TRUE(button.SetIcon(SolidIcon({8, 8}, kBlue)));

  const QImage image = Render(button);
  EXPECT_TRUE(BoxOf(image, kRed).isEmpty());
  EXPECT_EQ(BoxOf(image, kBlue), QRect(9, 9, 8, 8));
}

TEST_F(CIconButtonTest, WithoutIconPaintsExactlyLikeAPlainButton) {
  UseStyle("Fusion");
  QPushButton plain;
  plain.setStyle(m_styles.back().get());
  plain.resize(27, 26);
  button.resize(27, 26);
  const QImage expected = Render(plain);

  EXPECT_EQ(Render(button), expected) << "never given an icon";
  button.SetIcon(SolidIcon({16, 16}, kRed));
  EXPECT_TRUE(button.RemoveIcon());
  EXPECT_EQ(button.IconSize(), QSize(0, 0));
  EXPECT_EQ(Render(button), expected) << "icon removed";
}

TEST_F(CIconButtonTest, DisabledButtonShowsTheIconGreyedAndEnablingRestoresIt) {
  for (const char* style : {"Fusion", "Windows"}) {
    SCOPED_TRACE(style);
    UseStyle(style);
    button.resize(27, 26);
    button.setEnabled(false);
    const QImage bare = Render(button);

    button.SetIcon(SolidIcon({16, 16}, kRed));
    const QImage greyed = Render(button);
    EXPECT_TRUE(BoxOf(greyed, kRed).isEmpty());
    EXPECT_NE(greyed, bare) << "the greyed icon must still be drawn";

    button.setEnabled(true);
    EXPECT_EQ(BoxOf(Render(button), kRed), QRect(5, 5, 16, 16));
    button.RemoveIcon();
  }
}

}  // namespace
