// The compiler references this symbol from every object that uses floating
// point; a vendor runtime defines it, and so must any program or DLL built
// without one that holds such objects.
extern "C" int _fltused = 0;
