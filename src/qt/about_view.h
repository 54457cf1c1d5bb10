// The looks of the about box: its background picture and its two addresses drawn as links.
#pragma once

namespace quelo::qt {

class FormDialog;

void decorateAboutBox(FormDialog& dialog);

}  // namespace quelo::qt
