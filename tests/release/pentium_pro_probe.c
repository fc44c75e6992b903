/* Compiled for the Pentium Pro, these become cmov and fcomip: the instruction
   check must name them. */
int larger(int a, int b) { return a > b ? a : b; }
int below(double a, double b) { return a < b; }
