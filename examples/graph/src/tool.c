#include "inc\units.h"

int main(void) { return kUnit - 1; }
