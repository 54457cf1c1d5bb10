// A Qt host reports through the public widget on its own Records: the record set goes into call()
// in a QVariant, reportStatus is emitted as the pages are written and cancels the report, and the
// last record set comes back as Records.
#include <gtest/gtest.h>

#include <QSize>
#include <filesystem>
#include <varnikquelo/widget.h>

#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"

namespace quelo::testing {
namespace {

using varnikquelo::Records;
using varnikquelo::Value;

Records stock() {
  std::vector<std::vector<Value>> rows;
  for (int32_t i = 1; i <= 12; ++i) rows.push_back({Value("Item " + std::to_string(i)), Value(i)});
  return Records::table({{"Name"}, {"Qty", varnikquelo::FieldType::Int32}}, std::move(rows));
}

int pagesIn(const std::string& folder) {
  int pages = 0;
  if (std::filesystem::exists(folder))
    for (const auto& entry : std::filesystem::directory_iterator(folder)) pages += entry.path().extension() == ".htm";
  return pages;
}

TEST(PublicWidget, ReportsOnRecordsAndItsStatusCancels) {
  ScratchDir app;
  ScopedEnv env;
  env.set("XDG_CONFIG_HOME", app / "config");
  for (bool cancel : {false, true}) {
    SCOPED_TRACE(cancel);
    std::filesystem::remove_all(app / "Reports");
    varnikquelo::QueloWidget widget;
    QString error;
    ASSERT_TRUE(widget.setValue("ApplicationPath", QString::fromStdString(app.path()), &error)) << error.toStdString();
    widget.setMaxRecsPerPage(5);
    int statuses = 0;
    QObject::connect(&widget, &varnikquelo::QueloWidget::reportStatus,
                     [&](int totalPages, int, int, bool* cancelled, bool* deleteOnCancel) {
                       ++statuses;
                       EXPECT_EQ(totalPages, 3);
                       *cancelled = cancel;
                       *deleteOnCancel = cancel;
                     });
    const QVariant result = widget.call(
        "AutoZeReporter", {QVariant::fromValue(stock()), QString(), QString(), "stock.htm", "Stock", 0}, &error);
    EXPECT_EQ(result, QVariant(true)) << error.toStdString();
    EXPECT_GT(statuses, 0);
    EXPECT_EQ(pagesIn(app / "Reports"), cancel ? 0 : 3);
    EXPECT_EQ(widget.value("CurrentRecordset").metaType(), QMetaType::fromType<Records>());
  }
}

// A value the control has no kind for is an error that names the argument, never an empty one.
TEST(PublicWidget, AValueOfNoKindIsAnError) {
  varnikquelo::QueloWidget widget;
  QString error;
  EXPECT_FALSE(widget.call("AutoZeReporter", {QVariant(QSize(1, 2))}, &error).isValid());
  EXPECT_EQ(error, "Type mismatch: argument 1 of AutoZeReporter is a QSize, which the control cannot take");
  EXPECT_FALSE(widget.setValue("Tag", QVariant(QSize(1, 2)), &error));
  EXPECT_EQ(error, "Type mismatch: the value of Tag is a QSize, which the control cannot take");
}

}  // namespace
}  // namespace quelo::testing
