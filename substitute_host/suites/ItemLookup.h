// Project items as the suites see them through item handles.
#pragma once

#include "host/AE_HostInterface.h"
#include "substitute_host/Host.h"
#include "substitute_host/Project.h"

#include <string>

namespace glimster::substitute_host {

inline constexpr char kUnknownItemHandle[] = "an item handle the host never gave";

// The item behind `handle`, or null when the host never gave that handle.
Item* ItemOf(Host& host, AEGP_ItemH handle);

// How the log names an item: its name in quotes, or "unknown item" for null.
std::string DescribeItem(const Item* item);

// How the log writes a time: "48/24".
std::string DescribeTime(A_Time time);

}  // namespace glimster::substitute_host
