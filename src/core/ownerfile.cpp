#include "core/ownerfile.h"

#include <QFileDevice>

namespace orvix {

bool RestrictToOwner(QFileDevice& file) {
#if defined(Q_OS_UNIX)
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#else
    // Windows keeps access in ACLs; the user's profile folder already limits it.
    Q_UNUSED(file);
    return true;
#endif
}

} // namespace orvix
