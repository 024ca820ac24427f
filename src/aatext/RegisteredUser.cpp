// Who the machine belongs to, as the owner and organization labels show it. Windows keeps a
// registered owner and organization; elsewhere the account database and the environment
// stand in for them.
#include <QByteArray>
#include <QtGlobal>
#include <string>

#include "aatext/Labels.h"
#include "app/Files.h"
#include "app/Utf8.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

namespace pelwick {

namespace {

// The login name is limited to the characters the platform's user-name call returns.
constexpr std::size_t MaxUserName = 255;

std::string Environment(const char* name) {
    return qEnvironmentVariable(name).toStdString();
}

}  // namespace

std::string RegisteredOwnerName() {
    std::string login;
#ifndef _WIN32
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        // The comment field starts with the full name; the rest (office, phones) follows
        // after commas.
        const std::string gecos = found->pw_gecos ? found->pw_gecos : "";
        std::string fullName = gecos.substr(0, gecos.find(','));
        if (!fullName.empty()) return fullName;
        login = found->pw_name ? found->pw_name : "";
    }
    if (login.empty()) login = Environment("USER");
    if (login.empty()) login = Environment("LOGNAME");
#else
    const std::string owner = ReadRegistryString(
        rrLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner");
    if (!owner.empty()) return owner;
    login = Environment("USERNAME");
#endif
    return login.substr(0, utf8::PrefixBytes(login, MaxUserName));
}

std::string RegisteredOrganizationName() {
#ifdef _WIN32
    return ReadRegistryString(rrLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                              "RegisteredOrganization");
#else
    return Environment("ORGANIZATION");
#endif
}

}  // namespace pelwick
