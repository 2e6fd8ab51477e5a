#ifndef UNITS_H
#define UNITS_H
enum { kUnit = 1 };
#endif
