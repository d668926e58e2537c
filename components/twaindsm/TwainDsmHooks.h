#pragma once
// What the source manager exports besides DSM_Entry: a hook that answers its
// source selection dialog, so tests choose or cancel without a window.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/// Gets the product names of the sources (count of them) and the index of
/// the current default (-1 when there is none); returns the index chosen, -1
/// for Cancel, or TWAINDSM_SELECT_SEARCH_AGAIN for the dialog's "Искать
/// снова" (the hook is then asked again with the sources found afresh).
typedef int32_t (*TwainDsmSelectHook)(const char *const *names, int32_t count, int32_t defaultIndex);

/// Installs the hook (null restores the dialog); returns the previous one.
__attribute__((visibility("default"))) TwainDsmSelectHook TWAINDSM_SetSelectHook(TwainDsmSelectHook hook);

#define TWAINDSM_SET_SELECT_HOOK_NAME "TWAINDSM_SetSelectHook"
#define TWAINDSM_SELECT_SEARCH_AGAIN (-2)
/// Sent by the manager to every data source library (DG_CONTROL /
/// DAT_IDENTITY, a TW_IDENTITY as data) before it lists the sources afresh
/// (the operator's "Искать снова" in the selection dialog, a remembered
/// source that is missing): a library that keeps a list of its devices
/// reads it again. A library that does not know the message refuses it,
/// which changes nothing. (A custom message: MSG_CUSTOMBASE + 1.)
#define TWAINDSM_MSG_RELIST 0x8001
/// Environment variable naming one more folder of data sources.
#define TWAINDSM_SOURCES_ENV "TWAINDSM_SOURCES"

#ifdef __cplusplus
}
#endif
