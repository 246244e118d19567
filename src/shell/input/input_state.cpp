#include "input_state.h"

InputState input;
