#include "feeds/HTTPErrors.h"

#include <cerrno>

namespace pelwick {

std::string SocketErrorText(int code) {
    switch (code) {
        case wsaConnAborted:
            return "Software caused connection abort.";
        case wsaConnReset:
            return "Connection reset by peer.";
        case wsaTimedOut:
            return "Connection timed out.";
        case wsaConnRefused:
            return "Connection refused.";
        case wsaNetUnreach:
            return "Network is unreachable.";
        case wsaHostUnreach:
            return "No route to host.";
        case wsaHostNotFound:
            return "Host not found.";
        default:
            return "Socket error.";
    }
}

int SocketErrorFromErrno(int error, int fallback) {
    switch (error) {
        case ECONNREFUSED:
            return wsaConnRefused;
        case ETIMEDOUT:
            return wsaTimedOut;
        case ECONNRESET:
            return wsaConnReset;
        case ECONNABORTED:
        case EPIPE:
            return wsaConnAborted;
        case ENETUNREACH:
            return wsaNetUnreach;
        case EHOSTUNREACH:
            return wsaHostUnreach;
        default:
            return fallback;
    }
}

}  // namespace pelwick
