#include "graph_recipes.h"

#include "asf_reader.h"
#include "element_knobs.h"
#include "failure_codes.h"
#include "file_kind.h"
#include "gst_ref.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace clipdeck {

namespace {

// 0 when the file can be opened for reading, else the code of the reason it cannot.
uint32_t checkReadable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return hr::fromErrno(errno);
    }
    struct stat info {};
    const bool isFile = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return isFile ? hr::kOk : hr::kAccessDenied;
}

void show(const RecipeContext& context, const char* format, uint32_t code) {
    context.report(kMessageCaption, messageText(format, code));
}

// Creates `factory` as `name` and adds it. Null, without a message, when it cannot be
// created; a refusal to add it shows `failure` and sets `code`.
GstElement* addOptional(RecipeContext& context, const char* factory, const char* name,
                        const char* failure, uint32_t& code) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (element && !gst_bin_add(context.graph, element)) {
        gst_object_unref(gst_object_ref_sink(element));
        code = hr::kFail;
        show(context, failure, code);
        return nullptr;
    }
    return element;
}

uint32_t addSource(RecipeContext& context, const std::string& path, GstElement*& source) {
    uint32_t code = checkReadable(path);
    if (!hr::failed(code)) {
        source = gst_element_factory_make("filesrc", "SOURCE");
        if (!source) {
            code = hr::kClassNotRegistered;
        } else {
            g_object_set(source, "location", path.c_str(), nullptr);
            if (!gst_bin_add(context.graph, source)) {
                gst_object_unref(gst_object_ref_sink(source));
                code = hr::kFail;
            }
        }
    }
    if (hr::failed(code)) {
        source = nullptr;
        context.report(kLoadFailureCaption,
                       messageText("Failed to load the file to the graph!  hr=0x%x\r\n\r\n"
                                   "Filename: %s",
                                   code, path.c_str()));
    }
    return code;
}

uint32_t addAudioRenderer(RecipeContext& context) {
    AudioRenderer* audio = context.router.makeAudioRenderer();
    if (audio && !gst_bin_add(context.graph, audio->element())) {
        show(context, "FAILED(hr=0x%x) in pGB->AddFilter(pAudioRenderer, L\"Audio Renderer\")\n",
             hr::kFail);
        return hr::kFail;
    }
    return hr::kOk;
}

// The first output pad of the source that is not linked yet.
GstPad* unconnectedOutput(RecipeContext& context, GstElement* source) {
    GstPad* pad = gst_element_get_static_pad(source, "src");
    if (pad && !gst_pad_is_linked(pad)) {
        return pad;
    }
    if (pad) {
        gst_object_unref(pad);
    }
    show(context, "FAILED(hr=0x%x) in GetUnconnectedPin(g_pSource, PINDIR_OUTPUT, &pOutputPin)\n",
         hr::kFail);
    return nullptr;
}

// Connects the source's output through `splitter` (or the back end's choice when there is
// none) to the renderers in the graph.
uint32_t renderToExisting(RecipeContext& context, GstPad* output, GstElement* splitter) {
    uint32_t code = hr::kOk;
    if (!splitter) {
        splitter = gst_element_factory_make("decodebin", "Decoder");
        if (!splitter || !gst_bin_add(context.graph, splitter)) {
            code = splitter ? hr::kFail : hr::kClassNotRegistered;
            splitter = nullptr;
        }
    }
    if (!hr::failed(code)) {
        context.router.follow(splitter);
        GstObjectRef<GstPad> input(gst_element_get_static_pad(splitter, "sink"));
        code = input && GST_PAD_LINK_SUCCESSFUL(gst_pad_link(output, input.get()))
                   ? context.connectStreams()
                   : hr::kCannotRender;
    }
    if (hr::failed(code)) {
        show(context,
             "FAILED(hr=0x%x) in pFG->RenderEx(pOutputPin, AM_RENDEREX_RENDERTOEXISTINGRENDERERS, "
             "NULL)\n",
             code);
    }
    return code;
}

GstElement* findByFactory(GstBin* graph, const char* factory) {
    GstElement* found = nullptr;
    GST_OBJECT_LOCK(graph);
    for (GList* child = GST_BIN_CHILDREN(graph); child && !found; child = child->next) {
        GstElementFactory* f = gst_element_get_factory(GST_ELEMENT(child->data));
        if (f && g_str_equal(GST_OBJECT_NAME(f), factory)) {
            found = GST_ELEMENT(child->data);
        }
    }
    GST_OBJECT_UNLOCK(graph);
    return found;
}

bool inputUnlinked(GstElement* element) {
    GstObjectRef<GstPad> input(gst_element_get_static_pad(element, "sink"));
    return input && !gst_pad_is_linked(input.get());
}

void removeFromGraph(GstBin* graph, GstElement* element) {
    gst_element_set_state(element, GST_STATE_NULL);
    gst_bin_remove(graph, element);
}

uint32_t buildAsfGraph(RecipeContext& context, const std::string& path) {
    GstElement* reader = makeAsfReader("ASF Reader");
    if (!reader) {
        show(context, "Failed to create WMAsfWriter filter!  hr=0x%x", hr::kClassNotRegistered);
        return hr::kClassNotRegistered;
    }
    if (!gst_bin_add(context.graph, reader)) {
        gst_object_unref(gst_object_ref_sink(reader));
        show(context, "Failed to add ASF reader filter to graph!  hr=0x%x", hr::kFail);
        return hr::kFail;
    }
    uint32_t code = checkReadable(path);
    if (hr::failed(code)) {
        show(context, "FAILED(hr=0x%x) in g_pFileSource->Load(wFile, NULL)\n", code);
        return code;
    }
    loadAsfReader(reader, path);
    GstElement* wma = addOptional(context, "avdec_wmav2", "WMA Decoder DMO;",
                                  "FAILED(hr=0x%x) in pGB->AddFilter(pWMADecoderDMO,L\"WMA "
                                  "Decoder DMO;\")\n",
                                  code);
    if (hr::failed(code)) {
        return code;
    }
    GstElement* wmv = addOptional(context, "avdec_wmv2", "WMV Decoder DMO;",
                                  "FAILED(hr=0x%x) in pGB->AddFilter(pWMVDecoderDMO,L\"WMV "
                                  "Decoder DMO;\")\n",
                                  code);
    if (hr::failed(code)) {
        return code;
    }
    // The internal script command renderer has no counterpart here: it cannot be created
    // and is skipped like any such component.
    for (GstElement* decoder : {wmv, wma}) {
        if (decoder) {
            context.router.addDecoder(decoder);
        }
    }
    context.router.makeAudioRendererOnDemand();
    context.router.follow(reader);
    code = context.connectStreams();
    if (hr::failed(code)) {
        show(context, "FAILED(hr=0x%x) in RenderOutputPins(pGB, g_pSource)\n", code);
        return code;
    }
    if (wmv) {
        if (wma && inputUnlinked(wma)) {
            removeFromGraph(context.graph, wma);
        }
        if (inputUnlinked(wmv)) {
            removeFromGraph(context.graph, wmv);
        }
    }
    return hr::kOk;
}

} // namespace

uint32_t buildAvcGraph(RecipeContext& context, const std::string& path, GstElement*& source) {
    uint32_t code = addSource(context, path, source);
    if (hr::failed(code)) {
        return code;
    }
    GstElement* decoder =
        addOptional(context, "avdec_h264", "AVC Dec",
                    "FAILED(hr=0x%x) in pGB->AddFilter(pAvcDec,L\"AVC Dec\")\n", code);
    if (hr::failed(code)) {
        return code;
    }
    if (decoder) {
        context.router.addDecoder(decoder);
    }
    GstElement* demux =
        addOptional(context, "tsdemux", "MPEG2 Demux",
                    "FAILED(hr=0x%x) in pGB->AddFilter(pMPEG2Demux,L\"MPEG2 Demux\")\n", code);
    if (hr::failed(code) || hr::failed(code = addAudioRenderer(context))) {
        return code;
    }
    GstObjectRef<GstPad> output(unconnectedOutput(context, source));
    if (!output) {
        return hr::kFail;
    }
    code = renderToExisting(context, output.get(), demux);
    if (hr::failed(code)) {
        return code;
    }
    context.router.removeUnusedAudio();
    if (decoder) {
        ElementKnobs knobs(decoder);
        configureAvcDecoder(knobs, context.report);
    }
    return hr::kOk;
}

uint32_t buildGeneralGraph(RecipeContext& context, const std::string& path, bool mpeg,
                           GstElement*& source) {
    source = nullptr;
    if (isAsfPath(path)) {
        return buildAsfGraph(context, path);
    }
    uint32_t code = addSource(context, path, source);
    if (hr::failed(code)) {
        return code;
    }
    GstObjectRef<GstPad> output(unconnectedOutput(context, source));
    if (!output) {
        return hr::kFail;
    }
    GstElement* demux = nullptr;
    if (mpeg) {
        demux =
            addOptional(context, "mpegpsdemux", "MPEG2 Demux",
                        "FAILED(hr=0x%x) in pGB->AddFilter(pMPEG2Demux,L\"MPEG2 Demux\")\n", code);
        GstElement* decoder =
            hr::failed(code)
                ? nullptr
                : addOptional(context, "avdec_mpeg2video", "MPEG2 Decoder",
                              "FAILED(hr=0x%x) in pGB->AddFilter(pMPEG2Decoder,L\"MPEG2 "
                              "Decoder\")\n",
                              code);
        if (hr::failed(code)) {
            return code;
        }
        if (decoder) {
            context.router.addDecoder(decoder);
        }
    }
    if (hr::failed(code = addAudioRenderer(context)) ||
        hr::failed(code = renderToExisting(context, output.get(), demux))) {
        return code;
    }
    context.router.removeUnusedAudio();
    if (mpeg) {
        if (GstElement* decoder = findByFactory(context.graph, "avdec_mpeg2video")) {
            ElementKnobs knobs(decoder);
            configureMpeg2Decoder(knobs, context.report);
        }
    }
    return hr::kOk;
}

} // namespace clipdeck
