// The public widget on a form being designed, for the designer plugin: the control in design mode
// and its property pages. libquelo-qt exports these for the plugin, which sees the library only
// through them and the public header; they are not installed, as a running host has no use for them.
#pragma once

#include <varnikquelo/export.h>
#include <varnikquelo/widget.h>

class QDialog;

namespace varnikquelo::design {

// A widget whose control sits on a form being designed (its host's user mode is off).
QUELO_API QueloWidget* createWidget(QWidget* parent);

// The control's property pages for `widget`, a dialog of `parent` for the caller to run: what
// they apply goes to the widget's control, so its properties show it.
QUELO_API QDialog* propertyPages(QueloWidget& widget, QWidget* parent);

}  // namespace varnikquelo::design
