#include "base/engCommon9rMessages.h"

#include <iterator>

#define R9_DEFINE_MESSAGE(name, text) const ResString name = {text};
R9_MESSAGE_LIST(R9_DEFINE_MESSAGE)
#undef R9_DEFINE_MESSAGE

namespace {
#define R9_TABLE_ENTRY(name, text) {#name, &name},
const ResStringEntry g_table[] = {R9_MESSAGE_LIST(R9_TABLE_ENTRY)};
#undef R9_TABLE_ENTRY
} // namespace

const ResStringEntry *ResStringTable(int *count)
{
    if (count)
        *count = int(std::size(g_table));
    return g_table;
}

const ResString *FindResString(const char *name)
{
    for (const ResStringEntry &e : g_table)
        if (qstrcmp(e.name, name) == 0)
            return e.message;
    return nullptr;
}
