#pragma once
#include "report_format.h"

// A report counter's name on the teacher's page (UTF-8), and a short name
// for a table's column.
const char* counterLabel(Counter counter);
const char* counterColumn(Counter counter);
