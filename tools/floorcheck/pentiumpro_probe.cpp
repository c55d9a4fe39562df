// A program compiled for the Pentium Pro, whose choices become CMOV instructions.
int Pick(int a, int b, int c) { return a < b ? c : a; }

int main(int argc, char**) { return Pick(argc, 2, 7); }
