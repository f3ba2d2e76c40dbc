// Glyphsnap: answers framed JSON requests on standard input with framed replies on standard output.
#include <iostream>

#include "glyphsnap/platform/platform.h"
#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/serve/request_loop.h"

int main() {
    glyphsnap::InitialiseProcess();
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    glyphsnap::SystemActions actions;
    const int exitCode = glyphsnap::RunRequestLoop(std::cin, std::cout, actions);
    glyphsnap::EndRecognition();
    return exitCode;
}
