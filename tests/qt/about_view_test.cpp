#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "qt/about_view.h"
#include "qt/qt_test_support.h"
#include "qt/ze_quelo_widget.h"
#include "ui/maker.h"

namespace quelo::qt {
namespace {

// The mail label is drawn as a link and opens the mail program from the mouse and the keyboard.
TEST(AboutView, TheMailLabelIsALinkForMouseAndKeys) {
  testing::QtHarness h;
  h.presenter.setDecorator("QueloAbout", decorateAboutBox);
  Platform platform = h.platform();
  ZeQueloWidget control(h.component, nullptr, true, &platform);
  bool drawnAsLink = false;
  h.presenter.whenShown = [&](forms::Form&, FormDialog& d) {
    auto* mail = qobject_cast<QLabel*>(d.widgetOf("lblZe", 1));
    drawnAsLink = mail->styleSheet().contains("underline") && mail->cursor().shape() == Qt::PointingHandCursor;
    QTest::mouseClick(mail, Qt::LeftButton);
    mail->setFocus();
    QTest::keyClick(mail, Qt::Key_Space);  // a link is clicked from the keyboard too
    QTest::mouseClick(qobject_cast<QPushButton*>(d.widgetOf("OKButton")), Qt::LeftButton);
  };
  ASSERT_TRUE(control.dispatch()->call("AboutBox").isOk());
  EXPECT_TRUE(drawnAsLink);
  ASSERT_EQ(h.shell.launches.size(), 2u);
  for (const auto& launch : h.shell.launches) {
    EXPECT_EQ(launch.kind, "mail");
    EXPECT_EQ(launch.target, std::string("mailto:") + maker::kEmail);
  }
}

}  // namespace
}  // namespace quelo::qt
