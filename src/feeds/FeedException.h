#pragma once

#include "app/Exception.h"

namespace pelwick {

// A feed could not be read: unknown format, a missing required element, a malformed document.
class EFeedException : public Exception {
  public:
    using Exception::Exception;
};

// The XML parser refused the bytes, or a document access rule failed ("Element does not
// contain a single text node").
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
