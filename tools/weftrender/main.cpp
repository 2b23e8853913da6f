// weftrender: paints Smalltalk source through weftcore.dll into PNG pictures.
#include <cstdio>

#include "tools/weftrender/weftrender.h"

int main(int argc, char** argv) { return weftrender::RunWeftrender(argc, argv, stdout, stderr); }
