// The main window's status bar: text panels of the design's widths, left to right.
#pragma once

#include <QFrame>
#include <QList>

class QLabel;

namespace ovelo {

class StatusPanels : public QFrame {
    Q_OBJECT
  public:
    // Widths in twips; panels that do not fit are cut at the bar's right edge. A panel that
    // starts within the bar still shows its whole text: it widens as far as its text needs, and
    // what the bar then lacks is given up by the panels before it, from the room their own texts
    // leave, the first panel's first.
    StatusPanels(const QList<int>& widthsTwips, QWidget* parent = nullptr);
    // Panels count from 1.
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    QLabel* panel(int panel) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placePanels();

    QList<int> widths_;
    QList<QLabel*> panels_;
};

} // namespace ovelo
