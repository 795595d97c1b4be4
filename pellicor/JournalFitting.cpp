#include "pellicor/JournalFitting.hpp"
