#pragma once

// A list that takes the height its layout has for it. Its preferred height is its minimum (a few
// rows, the layout file's "minimumSize"), and it grows vertically into whatever room is left. A
// panel of such lists asks for no more than it needs with its lists at their smallest, so in a
// scroll area it is never shown taller than the room (the page scrolls only below that height),
// and a larger room goes to the lists instead of the page.
//
// The panel around it is still never squeezed below its preferred height: every other control
// keeps the height its text asks for. (A panel below its preferred height would be laid out from
// its controls' minimums, which for buttons and edits the skin's style sheet puts at their padding
// and border alone.) Growing lists share the room: a box layout evens out the heights of the
// items that grow (the lists, or the cards that hold them) first, then grows them alike. Stretch
// factors would lay their items out from those minimums too, so the layout files give none.

#include <QListWidget>

namespace vorlin {

class GrowingList : public QListWidget {
  Q_OBJECT

 public:
  explicit GrowingList(QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  int Smallest() const;
};

}  // namespace vorlin
