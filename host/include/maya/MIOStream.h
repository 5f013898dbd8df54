#ifndef _MIOStream
#define _MIOStream
// Standard streams, brought to global scope as the SDK does, so plug-in code
// that writes bare `cout << ... << endl` compiles unchanged.

#include <iostream>

using std::cerr;
using std::cin;
using std::clog;
using std::cout;
using std::endl;
using std::flush;
using std::ios;
using std::iostream;
using std::istream;
using std::ostream;
using std::streampos;
using std::ws;

#endif
