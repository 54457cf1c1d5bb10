// quelo-gui and the control's property record: what it could read comes back and is saved again
// at close; a record it could not read is left exactly as it was, and the user is told.
#include <gtest/gtest.h>

#include <QStatusBar>

#include "fakes/scratch_dir.h"
#include "host_window.h"
#include "automation/property_bag.h"
#include "qt/qt_test_support.h"

namespace quelo::qt::testing {
namespace {

TEST(HostRecord, ARunKeepsWhatItReadAndNeverOverwritesWhatItCouldNot) {
  const char garbage[] = "\x7f" "ELF\x02\x01\x01\0\0\0\t\xff\xfe\n\x03\x00\x3e";
  struct Case {
    std::string text;
    bool readable;
  };
  const Case cases[] = {
      {"Enabled\tBoolean\tTrue\r\nMaxRecsPerPage\tLong\t200\r\nInterval\tLong\tlots\r\nTag\tString\tmine\r\n"
       "no tabs\r\nDeveloperCompany\tString\tACME\r\n",
       true},
      {std::string(garbage, sizeof garbage - 1), false},
  };
  for (const Case& c : cases) {
    quelo::testing::ScratchDir data;
    data.write("quelo-gui.props", c.text);
    QtHarness h;
    Platform platform = h.platform();
    {
      gui::HostWindow window(QString::fromStdString(data.path()), h.component, &platform);
      EXPECT_EQ(window.statusBar()->currentMessage().contains("could not be read"), !c.readable);
    }
    if (!c.readable) {
      EXPECT_EQ(data.read("quelo-gui.props"), c.text);
      continue;
    }
    auto saved = FilePropertyBag::load(data / "quelo-gui.props");
    ASSERT_TRUE(saved) << saved.error().message;
    EXPECT_EQ(saved.value().read("MaxRecsPerPage", Variant()).value(), Variant(int32_t{200}));
    EXPECT_EQ(saved.value().read("Tag", Variant()).value(), Variant("mine"));
    EXPECT_EQ(saved.value().read("DeveloperCompany", Variant()).value(), Variant("ACME"));
  }
}

}  // namespace
}  // namespace quelo::qt::testing
