#include "app/window_harness.h"

#include <QApplication>
#include <QTest>

namespace tagwright::test {

WindowHarness::~WindowHarness() = default;

QString WindowHarness::StateFile() const {
  return QString::fromStdString((dir_.Path() / "tgw.usr").string());
}

void WindowHarness::WriteState(std::string_view content) const { dir_.Write("tgw.usr", content); }

std::string WindowHarness::ReadState() const { return ReadFile(StateFile().toStdString()); }

QString WindowHarness::Page(const std::string& name, std::string_view content) const {
  return QString::fromStdString(dir_.Write(name, content));
}

MainWindow& WindowHarness::Start() {
  window_.reset();
  window_ = std::make_unique<MainWindow>(platform, StateFile());
  window_->Form_Load();
  window_->activateWindow();
  if (!QTest::qWaitForWindowActive(window_.get())) qFatal("the main window did not become active");
  return *window_;
}

QString WindowHarness::FocusName() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus ? focus->objectName() : QString();
}

void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

std::string SamplePage() {
  return "<html><head><title>Garden Tools</title>\r\n"
         "<meta name=\"keywords\" content=\"garden, tools\">\r\n"
         "</head><body>\r\n"
         "<h1>Garden tools for every garden</h1>\r\n"
         "<p>Spades, rakes and hoses: <b>garden</b> tools that last.</p>\r\n"
         "<p>Our spades and rakes are made of steel; our hoses never kink.</p>\r\n"
         "<p>Steel spades, steel rakes, garden hoses.</p>\r\n"
         "</body></html>\r\n";
}

}  // namespace tagwright::test
