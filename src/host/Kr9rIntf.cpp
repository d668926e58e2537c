#include "host/Kr9rIntf.h"

namespace host {

bool UserHasRightsOn(IUserContext *user, const ISegregateObject *object)
{
    if (!user || !object)
        return false;
    if (user->HasFullRights())
        return true;
    const IObjectRightsPtr rights = user->GetRights();
    std::uint8_t flags = 0;
    return rights && rights->HasObjectRight(object->Get_DbID(), flags);
}

} // namespace host
