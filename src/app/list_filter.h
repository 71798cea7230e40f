#pragma once

class QLineEdit;
class QListWidget;

namespace veltrane::app {

// Keeps on show the entries of `list` whose text contains the text of `box`, in any case, and hides the
// others; entries added later are filtered as they come. Hidden entries keep their rows and ticks.
void filterBy(QListWidget& list, QLineEdit& box);

} // namespace veltrane::app
