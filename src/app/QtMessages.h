#pragma once

#include <QtGlobal>
#include <string_view>

namespace pelwick {

// Qt reports every face it cannot find and every script a face cannot shape; a saver run by a
// host writes standard error into the host's log, which such reports would fill within
// minutes while the wall draws fine. Whether one message (its logging category and text)
// reaches standard error: with `debug` (PELWICK_DEBUG set) every message does.
bool QtMessagePasses(QtMsgType type, std::string_view category, std::string_view text, bool debug);

// Installs a message handler that drops what QtMessagePasses refuses and hands the rest to
// Qt's own handler. Call it once, before the application object exists.
void FilterQtMessages();

}  // namespace pelwick
