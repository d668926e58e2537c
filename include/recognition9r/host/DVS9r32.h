#pragma once
#include "base/r9Export.h"
// The host's video subsystem as the package sees it: a live camera view the
// package can parent and align like any widget, the configuration manager the
// view reads its cameras from, the packing of view attributes, and the host's
// camera selection dialog.
//
// The package cannot link the host, so whatever it constructs (TSimpleView,
// TQ70ConfigManager) is made by the video subsystem the host installed
// (host/HostServices.h). Every static entry point below throws
// std::runtime_error when no host has installed one.

#include "host/Kr9rIntf.h"
#include "host/TViewAttributes.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QIODevice;

namespace host {

/// Where a view finds the cameras of the configuration.
class R9_EXPORT TQ70ConfigManager
{
public:
    virtual ~TQ70ConfigManager() = default;
    /// True when the configuration has a camera with this inner name.
    virtual bool ContainsCamera(const QString &innerName) const = 0;

    /// A new configuration manager of the installed host; `editMode` false
    /// opens the configuration for reading only.
    static std::shared_ptr<TQ70ConfigManager> Create(bool editMode);
};
using TQ70ConfigManagerPtr = std::shared_ptr<TQ70ConfigManager>;

/// One camera shown by a view, with its current display attributes.
struct TViewItem
{
    QString FInnerName;
    TViewAttributes FAttributes;
};

/// The cameras a view shows, in CreateView order.
class R9_EXPORT TViewList
{
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    /// The item at `index`; throws std::out_of_range for a bad index.
    TViewItem *GetItem(int index)
    {
        if (index < 0 || index >= Count())
            throw std::out_of_range("TViewList::GetItem: no view item " + std::to_string(index));
        return &m_items[static_cast<std::size_t>(index)];
    }
    void Add(TViewItem item) { m_items.push_back(std::move(item)); }
    void Clear() { m_items.clear(); }

private:
    std::vector<TViewItem> m_items;
};

/// A view that shows camera pictures.
class R9_EXPORT TBaseCameraView : public QWidget
{
public:
    using QWidget::QWidget;
    /// Stops and forgets every camera: the view empties and FLinks is empty.
    virtual void Clear() = 0;

    /// The cameras shown, with the attributes the operator may change in the view.
    TViewList FLinks;
};

/// A view that plays live pictures and can take a still frame.
class R9_EXPORT TPlayCameraView : public TBaseCameraView
{
public:
    using TBaseCameraView::TBaseCameraView;
    /// Writes the current frame of the shown camera `cameraInnerName` to
    /// `stream` as a JPEG. False (and nothing written) when the view does not
    /// show that camera or the camera gives no frame.
    virtual bool Snapshot(const QString &cameraInnerName, QIODevice *stream) = 0;
};

/// The simple live view the package puts on its forms.
class R9_EXPORT TSimpleView : public TPlayCameraView
{
public:
    using TPlayCameraView::TPlayCameraView;
    /// Starts live pictures of the cameras with the given inner names.
    /// Throws std::runtime_error when FConfigManager is not set.
    virtual void CreateView(const QStringList &innerNames, TViewAttributes attributes) = 0;

    /// Must be set before CreateView.
    TQ70ConfigManagerPtr FConfigManager;

    /// A new view of the installed host, a child of `owner`.
    static TSimpleView *Create(QWidget *owner);
};

/// The host's packing of view attributes into settings values.
class R9_EXPORT TSchemePersistence
{
public:
    static int ViewAttributesAsInt(TViewAttributes attributes);
    static TViewAttributes IntAsViewAttributes(int value);
};

/// The host's camera selection dialog.
class R9_EXPORT TfmSelCam
{
public:
    /// Shows the dialog modally; the chosen camera, or null on cancel.
    /// A null security system means the host's own.
    static ISegregateObjectPtr Select(QWidget *owner, ISecuritySystem *securitySystem);
};

/// What a host installs to make the classes above.
class R9_EXPORT IVideoSubsystem
{
public:
    virtual ~IVideoSubsystem() = default;
    virtual TSimpleView *CreateSimpleView(QWidget *owner) = 0;
    virtual TQ70ConfigManagerPtr CreateConfigManager(bool editMode) = 0;
    virtual int ViewAttributesAsInt(TViewAttributes attributes) = 0;
    virtual TViewAttributes IntAsViewAttributes(int value) = 0;
    virtual ISegregateObjectPtr SelectCamera(QWidget *owner, ISecuritySystem *securitySystem) = 0;
};

} // namespace host
