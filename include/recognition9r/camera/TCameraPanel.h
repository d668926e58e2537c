#pragma once
// The panel that hosts the live view and the frozen picture: it shows a
// caption in its middle (seen where nothing covers it) and keeps its
// client-aligned children filling it whenever it changes size.

#include "base/r9Export.h"

#include <QFrame>
#include <QPointer>
#include <vector>

namespace camera {

class R9_EXPORT TCameraPanel : public QFrame
{
public:
    explicit TCameraPanel(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);

    /// The child fills the panel from now on (and at once); a child of
    /// another widget is made a child of the panel first.
    void AlignClient(QWidget *child);
    /// The child keeps its geometry from now on.
    void ReleaseAlign(QWidget *child);
    bool IsClientAligned(const QWidget *child) const;
    /// Fits the client-aligned children to the panel now. The panel does it
    /// on every resize event; a hidden panel gets those only when shown.
    void Realign();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_caption;
    std::vector<QPointer<QWidget>> m_clientAligned;
};

} // namespace camera
