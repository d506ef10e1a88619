// Stands in for the game program in the benchmarks: it exits at once.
int main() {
    return 0;
}
