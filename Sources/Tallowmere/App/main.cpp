// Process entry: everything it does lives in the library so tests can reach it.
#include <Tallowmere/App/CommandLine.hpp>

int main(int argc, char** argv) {
    return tallowmere::CommandLine::run(argc, argv);
}
