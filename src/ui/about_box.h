// AboutBox: the product information box, QueloAbout, that the control's AboutBox shows: the
// version, what the component does, the maker's copyright, and the maker's web and e-mail
// addresses as labels that open when clicked.
#pragma once

#include <functional>
#include <string>

#include "forms/form.h"
#include "component/platform.h"

namespace quelo {

class Component;

struct ComponentVersion {
  int major = 0, minor = 0;
};
// The version the component was built as.
ComponentVersion componentVersion();

class AboutBox : public forms::Form {
 public:
  // Opens a link: index 0 is the web address (for the browser), 1 the e-mail address (for the
  // mail program). Its result is not looked at.
  using LinkOpener = std::function<void(int index, const std::string& target)>;

  AboutBox(forms::FormPresenter& presenter, LinkOpener openLink, ComponentVersion version = componentVersion());

  // The form's public member: closes the box.
  void OKButton_Click() { unload(); }

 protected:
  void build() override;
  void formLoad() override;

 private:
  LinkOpener openLink_;
  ComponentVersion version_;
};

// The control's AboutBox: creates the component's box with this platform when there is none,
// shows it modally, and unloads it once the user has closed it.
void showAboutBox(Component& component, const Platform& platform);

}  // namespace quelo
