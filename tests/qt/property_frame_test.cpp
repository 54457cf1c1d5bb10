#include "qt/property_frame.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "qt/form_view.h"
#include "qt/qt_test_support.h"
#include "qt/ze_quelo_widget.h"

namespace quelo::qt {
namespace {

TEST(PropertyFrame, ThePageRoundTripsTheControlsProperties) {
  testing::QtHarness h;
  Platform platform = h.platform();
  ZeQueloWidget control(h.component, nullptr, false, &platform);  // on a form being designed
  control.setInterval(4);
  control.setTag("before");
  PropertyFrame frame({control.dispatch()}, h.presenter);
  frame.show();
  testing::settle();
  FormView& page = frame.pageView();
  auto* interval = qobject_cast<QLineEdit*>(page.widgetOf("txtInterval"));
  auto* tag = qobject_cast<QLineEdit*>(page.widgetOf("txtTag"));
  auto* list = qobject_cast<QComboBox*>(page.widgetOf("cmbMaxRecsPerPage"));
  EXPECT_EQ(interval->text(), "4");
  EXPECT_EQ(tag->text(), "before");
  EXPECT_EQ(list->currentText(), "10 - Ze_TenRecs");
  EXPECT_FALSE(frame.applyButton()->isEnabled());  // nothing changed yet

  tag->setFocus();
  tag->selectAll();
  QTest::keyClicks(tag, "after");
  EXPECT_TRUE(frame.applyButton()->isEnabled());
  interval->setFocus();
  interval->selectAll();
  QTest::keyClicks(interval, "12abc");
  QTest::mouseClick(qobject_cast<QCheckBox*>(page.widgetOf("chkDoTimer")), Qt::LeftButton);
  list->setFocus();
  list->setCurrentIndex(4);
  emit list->activated(4);
  QTest::keyClicks(qobject_cast<QWidget*>(page.widgetOf("txtDeveloperCompany")), "acme");
  frame.chooseColor(QColor(10, 20, 30));
  QTest::mouseClick(frame.applyButton(), Qt::LeftButton);

  EXPECT_EQ(control.tag(), "after");
  EXPECT_EQ(control.interval(), 12);
  EXPECT_TRUE(control.doTimer());
  EXPECT_EQ(control.maxRecsPerPage(), 200);
  EXPECT_EQ(control.developerCompany(), "ACME");
  EXPECT_EQ(control.backColor(), QColor(10, 20, 30));
  EXPECT_FALSE(frame.applyButton()->isEnabled());
}

}  // namespace
}  // namespace quelo::qt
