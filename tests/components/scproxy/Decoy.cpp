// A module that exports a variable under every entry point's name, as the
// package does, to show that loading it beside the engine changes nothing.
#include "scanify/scapiTypes.h"

#define SCPROXY_DECOY(name, bytes) __attribute__((visibility("default"))) void *name = nullptr;
extern "C" {
SC_ENTRY_POINTS(SCPROXY_DECOY)
}
#undef SCPROXY_DECOY
