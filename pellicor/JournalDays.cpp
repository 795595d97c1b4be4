#include "pellicor/JournalDays.hpp"
