#pragma once
// velmorand-bench --realtime's report, as text for a person and as JSON.

#include <string>

#include "tools/bench/realtime_run.h"

std::string realtime_text(const RealtimeReport& report);
std::string realtime_json(const RealtimeReport& report);
