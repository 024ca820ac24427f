#include <gtest/gtest.h>

#include "app/Exception.h"
#include "app/ExceptionHandler.h"

namespace pelwick {
namespace {

TEST(ExceptionHandler, ReachesTheInstalledHandlerThenTheDefault) {
    std::vector<std::string> seen;
    auto previous = SetApplicationExceptionHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const Exception& x) {
            seen.push_back(x.what());
        }
    });
    ApplicationHandleException(std::make_exception_ptr(Exception("one")));
    ApplicationHandleException(nullptr);  // nothing to report
    EXPECT_EQ(seen, (std::vector<std::string>{"one"}));
    SetApplicationExceptionHandler(std::move(previous));
    testing::internal::CaptureStderr();
    ApplicationHandleException(std::make_exception_ptr(Exception("two")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "pelwick: two\n");
}

}  // namespace
}  // namespace pelwick
