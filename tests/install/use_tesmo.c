#include <stdio.h>
#include <tesmo.h>
int main(void) {
    char text[] = "Hello, tesmo";
    return printf("%s %d\n", strword(text), GetExDllVersion()) < 0;
}
