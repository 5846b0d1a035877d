// What FetchWebPage makes of responses: body, charset, cookies, redirects, faults.
#include <gtest/gtest.h>

#include "app_runtime.h"
#include "fetch_web_page.h"
#include "web_test_support.h"

namespace {
} // namespace
