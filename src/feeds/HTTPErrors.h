#pragma once

#include <string>

namespace pelwick {

// Classic socket error numbers, the ones users and logs have always shown for these failures.
enum : int {
    wsaConnAborted = 10053,
    wsaConnReset = 10054,
    wsaTimedOut = 10060,
    wsaConnRefused = 10061,
    wsaNetUnreach = 10051,
    wsaHostUnreach = 10065,
    wsaHostNotFound = 11001,
};

std::string SocketErrorText(int code);
// The socket error number for an errno value of a failed connect, send or receive.
int SocketErrorFromErrno(int error, int fallback);

}  // namespace pelwick
