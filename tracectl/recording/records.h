#pragma once
// The fixed records of a trace file in the form the newest header generation stores them,
// decoded into plain structs. Older generations are converted into these same records.

#include <array>
#include <cstddef>
#include <cstdint>

namespace viewer {

constexpr size_t kHeaderSize = 640;
constexpr int64_t kHeaderTypeOffset = 175;
constexpr size_t kAreaTableOffset = 176;
constexpr int kAreaCount = 15;

// Place of each descriptor in the area table; the reader finds areas by place, not by name.
enum class Area : int {
    Order = 0,
    Labcod = 1,
    Note = 2,
    Flags = 3,
    Tronca = 4,
    ImpedB = 5,
    ImpedE = 6,
    Montage = 7,
    Compr = 8,
    Average = 9,
    History = 10,
    Dvideo = 11,
    Trigger = 14,
};

struct AreaDescriptor {
    std::array<char, 8> name{};
    uint32_t offset = 0;
    uint32_t length = 0;
};

struct TrcHeader {
    std::array<char, 22> surname{};
    std::array<char, 20> name{};
    uint8_t birthMonth = 0;
    uint8_t birthDay = 0;
    uint8_t birthYear = 0;
    uint8_t recDay = 0;
    uint8_t recMonth = 0;
    uint8_t recYear = 0;
    uint8_t recHour = 0;
    uint8_t recMinute = 0;
    uint8_t recSecond = 0;
    uint16_t fileType = 0;
    uint32_t dataStart = 0;
    uint16_t numChannels = 0;
    uint16_t multiplexer = 0;
    uint16_t rate = 0;
    uint16_t bytesPerSample = 0;
    uint16_t numMontages = 0;
    int32_t videoStart = 0;
    uint16_t videoDelay = 0;
    uint16_t checkWord = 0;
    uint8_t headerType = 0;
    std::array<AreaDescriptor, kAreaCount> areas{};

    const AreaDescriptor& area(Area a) const { return areas[static_cast<int>(a)]; }
    AreaDescriptor& area(Area a) { return areas[static_cast<int>(a)]; }
};

constexpr size_t kElectrodeRecordSize = 128;
constexpr int kElectrodeCount = 640;

struct ElectrodeRecord {
    uint8_t status = 0;        // 1 = acquired in this recording
    uint8_t electrodeType = 0; // bit 0 = polygraphic input
    std::array<char, 6> positiveLabel{};
    std::array<char, 6> negativeLabel{};
    int32_t logicMin = 0;
    int32_t logicMax = 0;
    int32_t logicGround = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    int16_t unit = 0; // -1 nV, 0 uV, 1 mV, 2 V
    uint8_t avgExcluded = 0;
    // Files that give their calibration as real numbers (EDF): microvolts per digital step,
    // used instead of the ranges when not 0, and the zero level's part beyond logicGround.
    double stepUv = 0.0;
    double groundFraction = 0.0;

    bool polygraphic() const { return (electrodeType & 1) != 0; }
};

constexpr size_t kNoteRecordSize = 44;
constexpr int kNoteCapacity = 200;

struct NoteRecord {
    int32_t sample = 0; // 0 ends the list
    std::array<char, 40> text{};
};

constexpr size_t kSegmentRecordSize = 8;
constexpr int kSegmentCapacity = 100;

struct SegmentRecord {
    int32_t origSample = 0; // 0 ends the table
    uint32_t fileSample = 0;
};

constexpr size_t kVideoRecordSize = 16;
constexpr int kVideoCapacity = 1024;

struct VideoRecord {
    int32_t startMs = -1; // -1 = no more records
    int32_t lengthMs = -1;
    int32_t fileNumber = -1;
};

constexpr size_t kMontageRecordSize = 4096;
constexpr int kMaxLines = 128;
constexpr int kArchivedMontageSlots = 30;
constexpr int kHistoryPoints = 128;
constexpr size_t kHistoryTableSize = 512;

struct MontageRecord {
    uint16_t numLines = 0;
    uint16_t baseTime = 0;
    uint8_t notch = 0;   // 0 off, 1 = 50 Hz, 2 = 60 Hz
    uint8_t refMode = 0; // 1 average, 2 ears; 0 and 3 leave samples as read
    std::array<uint8_t, kMaxLines> colourCode{};
    std::array<uint8_t, kMaxLines> selected{};
    std::array<char, 64> description{};
    std::array<uint16_t, kMaxLines> inputA{};
    std::array<uint16_t, kMaxLines> inputB{};
    std::array<uint32_t, kMaxLines> highPass{}; // thousandths of a hertz
    std::array<uint32_t, kMaxLines> lowPass{};  // hundredths of a hertz
    std::array<int32_t, kMaxLines> gain{};      // microvolts per centimetre
    std::array<uint8_t, kMaxLines> colourIndex{};
    int32_t pageMs = 10000;
    uint8_t converted = 0;
};

// Each decoder reads exactly its record's size from `bytes`.
TrcHeader decodeHeader(const uint8_t* bytes);
ElectrodeRecord decodeElectrode(const uint8_t* bytes);
NoteRecord decodeNote(const uint8_t* bytes);
SegmentRecord decodeSegment(const uint8_t* bytes);
VideoRecord decodeVideo(const uint8_t* bytes);
MontageRecord decodeMontage(const uint8_t* bytes);

} // namespace viewer
