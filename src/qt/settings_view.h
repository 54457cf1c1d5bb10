// The looks of the advanced settings form: every entry of its font list drawn in the font it
// names, and the font in use named when the chosen one is not installed.
#pragma once

namespace quelo::qt {

class FormDialog;

void decorateSettingsForm(FormDialog& dialog);

}  // namespace quelo::qt
