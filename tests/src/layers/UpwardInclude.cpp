// Built only by the test: a source of the ui layer that reaches up into
// common, as the ui layer once did. Its own layer's headers and the basics
// are found first, so the build can only stop at the upward include.
#include "base/engCommon9rMessages.h"
#include "ui/TBusyGuard.h"
#include "ui/TPictureBox.h"

#include "common/engCommon9r.h"
