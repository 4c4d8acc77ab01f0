#include "support/permissionsbind.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The capabilities that let the administrator past file permissions.
constexpr unsigned OverridingPermissions =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool setEffective(bool overriding)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (overriding)
        data[0].effective |= OverridingPermissions & data[0].permitted;
    else
        data[0].effective &= ~OverridingPermissions;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

PermissionsBind::PermissionsBind()
{
    m_dropped = geteuid() == 0 && setEffective(false);
    m_binding = geteuid() != 0 || m_dropped;
}

PermissionsBind::~PermissionsBind()
{
    if (m_dropped)
        setEffective(true);
}

#else

PermissionsBind::PermissionsBind() : m_binding(true) {}

PermissionsBind::~PermissionsBind() = default;

#endif
