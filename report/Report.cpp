#include "model/Model.h"
