// The members of the classic controls, answered by the Qt widgets that stand in for them:
//   every widget: Name, Enabled, Visible, SetFocus, BackPicture
//   line and text edits: Text, Locked, SelStart, SelLength, SelText (positions in characters)
//   labels and buttons: Text, Caption; labels: Picture
//   rich text edits: OLEObject (a picture file goes in as an image, any other file as a link)
#pragma once

#include <QObject>
#include <optional>
#include <string_view>

#include "automation/dispatch.h"

namespace quelo::qt {

// The id of a classic member the object answers, or nothing.
std::optional<int32_t> widgetMemberId(QObject* object, std::string_view name);
Result<Variant> invokeWidgetMember(QObject* object, int32_t id, InvokeKind kind, Args& args);

}  // namespace quelo::qt
