#include "ui/about_box.h"

#include "component/component.h"
#include "hyperlink/hyperlink_opener.h"
#include "ui/maker.h"

namespace quelo {

using namespace forms;

ComponentVersion componentVersion() {
  return {QUELO_VERSION_MAJOR, QUELO_VERSION_MINOR};
}

AboutBox::AboutBox(FormPresenter& presenter, LinkOpener openLink, ComponentVersion version)
    : Form("QueloAbout", presenter), openLink_(std::move(openLink)), version_(version) {
  setCaption("Varnik Quelo ActiveX Control");
}

void AboutBox::build() {
  auto& version = add<Label>("lblVersion");
  version.setCaption("Version");
  version.setBounds({1800, 240, 3600, 285});
  auto& info = add<Label>("lblInfo");
  info.setCaption(std::string("A powerful OCX functioning as a Timer, File Dialogbox, Hyperlinker "
                              "and real-time Database "
                              "Reporter.\r\n") +
                  maker::kCopyright);
  info.setBounds({1800, 645, 3600, 1215});
  const char* links[] = {maker::kWebsite, maker::kEmail};
  for (int i = 0; i < 2; ++i) {
    auto& link = add<Label>("lblZe", i);
    link.setCaption(links[i]);
    link.setBounds({1800, 2010 + 360 * i, 3600, 285});
    link.setToolTipText(i == 0 ? "Visit the web site" : "Write an e-mail");
    link.onClick = [this, i, &link] {
      // The caption is read at the click: a host may have changed it.
      openLink_(i, link.caption());
    };
  }
  auto& ok = add<CommandButton>("OKButton");
  ok.setCaption("OK");
  ok.setDefault(true);
  ok.setCancel(true);
  ok.setBounds({4200, 2925, 1200, 375});
  ok.onClick = [this] { OKButton_Click(); };
}

void AboutBox::formLoad() {
  get<Label>("lblVersion")
      .setCaption("Version " + std::to_string(version_.major) + "." +
                  std::to_string(version_.minor));
}

void showAboutBox(Component& component, const Platform& platform) {
  auto& box = component.aboutBox;
  if (!box) {
    HyperlinkState& links = component.hyperlinks;
    auto open = [platform = Platform(platform), &links](int index,
                                                        const std::string& target) mutable {
      (void)activateLink(platform, links, static_cast<LinkMode>(index), target, false);
    };
    box = std::make_unique<AboutBox>(*platform.presenter, std::move(open));
  }
  box->show(true);
  box->unload();
}

}  // namespace quelo
