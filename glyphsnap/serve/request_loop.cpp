#include "glyphsnap/serve/request_loop.h"

#include <istream>
#include <ostream>
#include <string>

#include "glyphsnap/protocol/frame_io.h"
#include "glyphsnap/protocol/replies.h"

namespace glyphsnap {

int RunRequestLoop(std::istream& in, std::ostream& out, RequestActions& actions) {
    for (;;) {
        in.clear();
        out.clear();
        InputFrame frame = ReadMessage(in);
        switch (frame.kind) {
            case InputFrame::Kind::End:
                return 0;
            case InputFrame::Kind::Oversized:
                WriteMessage(out, BuildInternalErrorReply(
                                      "request frame of " + std::to_string(frame.announcedLength) +
                                      " bytes exceeds the limit of " +
                                      std::to_string(kMaxFrameLength) + " bytes"));
                break;
            case InputFrame::Kind::Payload:
                HandleRequest(frame.payload, actions, out);
                break;
        }
    }
}

}  // namespace glyphsnap
