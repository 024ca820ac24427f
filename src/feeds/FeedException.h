#pragma once

#include "app/Exception.h"

namespace pelwick {

// A feed could not be read: unknown format, a missing required element, a malformed document.
class EFeedException : public Exception {
  public:
    using Exception::Exception;
};

// The XML parser refused the bytes (its first error, "Line 3: ..."), or the document could not
// be changed as an access rule needed.
class EXMLError : public EFeedException {
  public:
    using EFeedException::EFeedException;
};

// Text that should have been a number (or a duration) was not; the message names the text.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

}  // namespace pelwick
