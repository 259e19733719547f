#pragma once

#include <functional>
#include <memory>
#include <string>

#include "query/SizeQueryReport.h"

class SizeQueryView;

// An address typed as "www.…" is meant as a web address.
std::string CompleteQueryAddress(const std::string& address);

// One size query, from reading the view's address to its verdict, on the calling thread;
// a query that ran ends by handing the view its report.
SizeQueryOutcome QuerySizeThread(SizeQueryView& view);
