// CalculatorZk.cpp - the calculator's layout, key machine and the drop-down calculator.
#include "gridlib/toolkit/CalculatorZk.h"

void RegisterCalculatorZkClasses() {}
