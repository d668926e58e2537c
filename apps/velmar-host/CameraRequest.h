#pragma once
// The host's camera path: the camera snapshot window of the package, opened
// for a user of the stand-in host who may use some cameras and not others.
// Without a display a scripted operator works it; with one, a person does.
// The frame and the fragment handed back are stored as PNG files.

#include <QJsonObject>
#include <QString>

class PackageLoader;
namespace hostkit { class THostKit; }

struct CameraPathOptions
{
    bool scripted = false;
    QString output; ///< the pictures go into its "camera" folder
};

QJsonObject RunCameraPath(const PackageLoader &package, hostkit::THostKit &kit, const CameraPathOptions &options);
