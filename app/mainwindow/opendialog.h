// The open dialog of the main window: its title and the four kinds of file it offers.
#pragma once

class QFileDialog;
class QWidget;

namespace ovelo {

// Not yet shown; the first kind, all Flash Video files, is selected.
QFileDialog* CreateOpenDialog(QWidget* parent);

} // namespace ovelo
