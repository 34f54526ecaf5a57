// The main window's controls: captions (with their mnemonics), places and sizes in twips,
// type faces, colours and the tab order, as the window is designed.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/state_binding.h"
#include "app/window_geometry.h"
#include "util/settings_table.h"

namespace tagwright {
namespace {

const QColor kLightGreen(192, 255, 192);
const QColor kLinkBlue(0, 0, 255);

// Substitutes for the designed faces: Liberation Sans for the sans serif of the window and
// Liberation Mono for the typewriter face (fonts-liberation), with the designed faces and
// their usual stand-ins after them. Sizes are 8.25 and 9.75 points at 96 dpi.
QFont SansFont(int pixels, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QFont WindowFont() { return SansFont(11, true); }
QFont LargeFont() { return SansFont(13, true); }
QFont LinkFont() {
  QFont font = SansFont(11, false);
  font.setUnderline(true);
  return font;
}
QFont TypewriterFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("Courier New"),
                    QStringLiteral("DejaVu Sans Mono")});
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(11);
  font.setBold(false);  // said outright, or the window's bold face would show through
  return font;
}

struct Place {
  int left, top, width, height;
};

// Every control with its design place and tab index; the window sorts them into tab order.
class Builder {
 public:
  explicit Builder(QWidget* window) : window_(window) {}

  template <class Control>
  Control* Make(QWidget* parent, const char* name, const QString& caption, Place place,
                int tabIndex) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    if constexpr (!std::is_same_v<Control, QComboBox> && !std::is_same_v<Control, QWidget> &&
                  !std::is_same_v<Control, QPlainTextEdit>) {
      control->setText(caption);
    }
    control->setGeometry(PxRect(place.left, place.top, place.width, place.height));
    tabOrder_.emplace_back(tabIndex, control);
    return control;
  }
  QPushButton* Button(QWidget* parent, const char* name, const QString& caption, Place place,
                      int tabIndex, bool large) {
    auto* button = Make<QPushButton>(parent, name, caption, place, tabIndex);
    // Enter on a button presses it, as on the desktop this window comes from.
    button->setAutoDefault(true);
    if (large) button->setFont(LargeFont());
    return button;
  }
  QLabel* Label(QWidget* parent, const char* name, const QString& caption, Place place,
                int tabIndex, Qt::Alignment horizontal = Qt::AlignLeft) {
    auto* label = Make<QLabel>(parent, name, caption, place, tabIndex);
    label->setFont(LargeFont());
    label->setAlignment(horizontal | Qt::AlignTop);
    return label;
  }
  QCheckBox* CheckBox(const char* name, const QString& caption, Place place, int tabIndex) {
    auto* box = Make<QCheckBox>(window_, name, caption, place, tabIndex);
    box->setFont(LargeFont());
    return box;
  }
  QComboBox* List(const char* name, Place place, int tabIndex, const NumberSetting& setting) {
    auto* list = Make<QComboBox>(window_, name, QString(), place, tabIndex);
    for (int value = setting.first; value <= setting.last; ++value) {
      list->addItem(QString::number(value));
    }
    list->setCurrentIndex(-1);  // no item chosen until the state or the defaults apply
    return list;
  }
  QLineEdit* TextBox(const char* name, Place place, int tabIndex, bool typewriter) {
    auto* box = Make<QLineEdit>(window_, name, QStringLiteral("Text1"), place, tabIndex);
    if (typewriter) box->setFont(TypewriterFont());
    return box;
  }

  /// The controls that take the focus, in tab order.
  std::vector<QWidget*> TabOrder() {
    std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<QWidget*> order;
    for (const auto& [index, control] : tabOrder_) {
      if (control->focusPolicy() & Qt::TabFocus) order.push_back(control);
    }
    return order;
  }

 private:
  QWidget* window_;
  std::vector<std::pair<int, QWidget*>> tabOrder_;
};

}  // namespace

void MainWindow::BuildControls() {
  setWindowTitle(QStringLiteral("Tagwright"));
  setFixedSize(Px(kClientWidth), Px(kClientHeight));
  setFont(WindowFont());
  QPalette background = palette();
  background.setColor(QPalette::Window, kLightGreen);
  setPalette(background);
  setAutoFillBackground(true);
  setAcceptDrops(true);

  Builder b(this);
  cmdInputFile_ = b.Button(this, "cmdInputFile", tr("&Input file"), {105, 80, 1380, 360}, 8, true);
  txbInputFile_ = b.TextBox("txbInputFile", {1575, 105, 6990, 330}, 0, true);
  cmdClearInputFile_ =
      b.Button(this, "cmdClearInputFile", tr("Cl&ear"), {8650, 105, 700, 300}, 10, false);

  chkIgnoreCommonWords_ =
      b.CheckBox("chkIgnoreCommonWords", tr("Ignore co&mmon words"), {105, 525, 2850, 330}, 23);
  chkIgnoreShortWords_ =
      b.CheckBox("chkIgnoreShortWords", tr("Ignore &words with"), {3675, 525, 2220, 330}, 1);
  cboShortWordSize_ = b.List("cboShortWordSize", {5880, 540, 645, 315}, 7, kShortWordSize);
  lblCharsOrLess_ =
      b.Label(this, "lblCharsOrLess", tr("characters &or less"), {6615, 570, 1905, 330}, 6);
  cmdReset_ = b.Button(this, "cmdReset", tr("&Reset"), {8650, 525, 700, 300}, 17, false);

  lblBeginMetaTagWith_ =
      b.Label(this, "lblBeginMetaTagWith", tr("&Begin meta tag with:"), {105, 945, 2325, 330}, 34);
  txbBeginMetaTagWith_ = b.TextBox("txbBeginMetaTagWith", {2250, 945, 6320, 330}, 2, true);
  cmdClearBeginMetaTagWith_ =
      b.Button(this, "cmdClearBeginMetaTagWith", tr("Cle&ar"), {8650, 945, 700, 300}, 11, false);

  lblThresholdFrequency_ =
      b.Label(this, "lblThresholdFrequency", tr("Min. &frequency:"), {105, 1400, 2325, 330}, 16);
  cboThresholdFrequency_ =
      b.List("cboThresholdFrequency", {1785, 1375, 645, 315}, 15, kThresholdFrequency);
  lblExistingkeywordsWeight_ =
      b.Label(this, "lblExistingkeywordsWeight", tr("E&xisting keywords weight:"),
              {2520, 1400, 2745, 330}, 33);
  cboExistingKeywordsWeight_ =
      b.List("cboExistingKeywordsWeight", {5250, 1375, 645, 315}, 32, kExistingKeywordsWeight);
  cmdShowExistingKeywordMetaTag_ =
      b.Button(this, "cmdShowExistingKeywordMetaTag", tr("&Show existing  keywords"),
               {6405, 1365, 2955, 360}, 35, true);

  lblTableWeight_ =
      b.Label(this, "lblTableWeight", tr("&Table weight:"), {105, 1800, 1590, 330}, 28);
  cboTableWeight_ = b.List("cboTableWeight", {1785, 1785, 645, 315}, 27, kTableWeight);
  lblBoldWeight_ = b.Label(this, "lblBoldWeight", tr("Bol&d weight:"), {2520, 1800, 1485, 330}, 30);
  cboBoldWeight_ = b.List("cboBoldWeight", {3900, 1785, 645, 315}, 29, kBoldWeight);
  lblMaxNumKeywords_ =
      b.Label(this, "lblMaxNumKeywords", tr("Max. number of &keywords in meta tag:"),
              {4785, 1800, 3900, 330}, 3, Qt::AlignRight);
  txbMaxNumKeywordsInMetaTag_ =
      b.TextBox("txbMaxNumKeywordsInMetaTag", {8760, 1800, 540, 330}, 4, false);
  MakeLimitBox(*txbMaxNumKeywordsInMetaTag_);

  cmdListWords_ =
      b.Button(this, "cmdListWords", tr("&List words"), {105, 2150, 1380, 360}, 14, true);
  lblNumberOfWords_ = b.Label(this, "lblNumberOfWords", tr("Number of words found: 232"),
                              {1785, 2200, 3165, 225}, 22);
  lblMaxNumBytes_ = b.Label(this, "lblMaxNumBytes", tr("Max. number of b&ytes in meta tag:"),
                            {5100, 2200, 3585, 330}, 13, Qt::AlignRight);
  txbMaxNumBytesInMetaTag_ =
      b.TextBox("txbMaxNumBytesInMetaTag", {8760, 2200, 540, 330}, 12, false);
  MakeLimitBox(*txbMaxNumBytesInMetaTag_);

  chkLargeWindow_ = b.CheckBox("chkLargeWindow", tr("Large wi&ndow"), {105, 2625, 1815, 330}, 31);
  // In the free space right of "Large window", and after it in the tab order.
  chkModernMarkup_ =
      b.CheckBox("chkModernMarkup", tr("Modern mark&up"), {2100, 2625, 2100, 330}, 31);
  cmdGenerateKeywordMetaTag_ =
      b.Button(this, "cmdGenerateKeywordMetaTag", tr("&Generate keywords meta tag"),
               {5955, 2600, 3390, 360}, 9, true);

  txbMetaTag_ = b.Make<QPlainTextEdit>(this, "txbMetaTag", QString(), {105, 3050, 9255, 2115}, 5);
  txbMetaTag_->setPlainText(QStringLiteral("Text1"));
  txbMetaTag_->setFont(TypewriterFont());
  txbMetaTag_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txbMetaTag_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txbMetaTag_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txbMetaTag_->setTabChangesFocus(true);

  Frame1_ = b.Make<QWidget>(this, "Frame1", QString(), {105, 5300, kFrameWidth, kFrameHeight}, 18);
  cmdHelp_ = b.Button(Frame1_, "cmdHelp", tr("&Help"), {0, 0, kHelpWidth, 330}, 21, false);
  cmdCopyToClipboard_ = b.Button(Frame1_, "cmdCopyToClipboard", tr("&Copy to clipboard"),
                                 {3360, 0, kCopyWidth, 330}, 19, false);
  cmdQuit_ = b.Button(Frame1_, "cmdQuit", tr("&Quit"), {8400, 0, kQuitWidth, 330}, 20, false);
  // In the free space between "Copy to clipboard" and "Quit", after the copy in the tab order.
  cmdSaveReport_ =
      b.Button(Frame1_, "cmdSaveReport", tr("Sa&ve report..."), {6220, 0, 1800, 330}, 19, false);
  lblVeltrane_ = b.Label(Frame1_, "lblVeltrane", tr("Veltrane"), {1155, 420, 2115, 240}, 25);
  lblOnlineDocumentation_ = b.Label(Frame1_, "lblOnlineDocumentation", tr("Online documentation"),
                                    {6700, 420, 2535, 240}, 24, Qt::AlignRight);
  for (QLabel* link : {lblVeltrane_, lblOnlineDocumentation_}) {
    link->setFont(LinkFont());
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, kLinkBlue);
    link->setPalette(blue);
    link->setCursor(Qt::PointingHandCursor);
    // Reached with Tab like the controls, and followed with Enter or Space.
    link->setFocusPolicy(Qt::TabFocus);
  }

  const std::vector<QWidget*> order = b.TabOrder();
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  SetUpKeyboardAndAccessibility();
}

}  // namespace tagwright
