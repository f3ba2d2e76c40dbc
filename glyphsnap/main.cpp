// Glyphsnap: answers framed JSON requests on standard input with framed replies on standard output.
#include <iostream>

#include "platform.h"
#include "recognition.h"
#include "request_loop.h"

int main() {
    glyphsnap::InitialiseProcess();
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    glyphsnap::SystemActions actions;
    const int exitCode = glyphsnap::RunRequestLoop(std::cin, std::cout, actions);
    glyphsnap::EndRecognition();
    return exitCode;
}
