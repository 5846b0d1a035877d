// The mock's addresses: the home page, the result pages, and two helpers for tests
// (/echo returns the request head, /redirect answers with a redirect).
#pragma once

#include "sorvel_mock/options.h"
#include "sorvel_mock/recording_server.h"

namespace sorvel_mock {

void AddRoutes(RecordingServer &server, const MockOptions &options);

}  // namespace sorvel_mock
