// The looks of the advanced settings form: every entry of its font list drawn in the font it names.
#pragma once

namespace quelo::qt {

class FormDialog;

void decorateSettingsForm(FormDialog& dialog);

}  // namespace quelo::qt
