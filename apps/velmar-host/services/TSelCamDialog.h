#pragma once
// The host's camera selection dialog: the cameras of the configuration in a
// list; OK gives the chosen one, cancel none.

#include "host/Kr9rIntf.h"

#include <QDialog>

class QListWidget;

namespace hostkit {

class TSelCamDialog : public QDialog
{
public:
    TSelCamDialog(QWidget *owner, host::TSegregateObjectList cameras);
    /// The highlighted camera, null when none is.
    host::ISegregateObjectPtr Selected() const;
    QListWidget *List() const { return m_list; }

private:
    host::TSegregateObjectList m_cameras;
    QListWidget *m_list;
};

} // namespace hostkit
