#pragma once
// The numbered texts of the translation catalogues (translations/*.ts, ids "101".."177"), one list for the enum and
// for the list of all ids, so that code naming a text that is not listed does not compile.

namespace trelmo {

// X(name, number) for each numbered text, in catalogue order.
#define TRELMO_TEXT_IDS(X)                                                                                           \
    X(AboutMenu, 101)                /* "About Trelmo(&A)..." */                                                     \
    X(Connecting, 102)                                                                                               \
    X(AutoBaudFailed, 103)           /* "Connection failed! ERROR:01" */                                             \
    X(Connect, 104)                                                                                                  \
    X(BusAddressFailed, 105)         /* "Connection failed! ERROR:02" */                                             \
    X(GoOnlineFailed, 106)           /* "Connection failed! ERROR:04" */                                             \
    X(Connected, 107)                                                                                                \
    X(ErrorOccurs04, 108)                                                                                            \
    X(ErrorOccurs05, 109)                                                                                            \
    X(IllegalInputData, 110)         /* "ERROR:61 Illegal input data" */                                             \
    X(MaximumByte244, 111)                                                                                           \
    X(AnotherCopyRuns, 112)                                                                                          \
    X(NoBytes, 113)                  /* "No data" */                                                                 \
    X(RepeatedPair, 114)                                                                                             \
    X(EmptyData, 115)                                                                                                \
    X(InstanceNumber, 116)                                                                                           \
    X(AttributeNumber, 117)                                                                                          \
    X(Length, 118)                                                                                                   \
    X(Data, 119)                                                                                                     \
    X(NoRowsSelected, 120)                                                                                           \
    X(OpenFailed, 121)               /* "Error occurs! ERROR:00" */                                                  \
    X(Pause, 122)                                                                                                    \
    X(Continue, 123)                                                                                                 \
    X(SaveFailed, 124)                                                                                               \
    X(Saved, 125)                                                                                                    \
    X(CodesIncomplete, 126)                                                                                          \
    X(InputDataMissing, 127)                                                                                         \
    X(ReadFailed, 128)                                                                                               \
    X(WriteFailed, 129)                                                                                              \
    X(Read, 130)                                                                                                     \
    X(Write, 131)                                                                                                    \
    X(Error, 132)                                                                                                    \
    X(Timeout, 133)                                                                                                  \
    X(Right, 134)                                                                                                    \
    X(InputDataEmpty, 135)                                                                                           \
    X(Failed, 136)                                                                                                   \
    X(Successful, 137)                                                                                               \
    X(AutoBaudRate, 138)                                                                                             \
    X(None, 139)                     /* "Non" */                                                                     \
    X(BusAddressZero, 140)                                                                                           \
    X(BusAddressEmpty, 141)                                                                                          \
    X(ReservedObject, 142)                                                                                           \
    X(ConnectionLost, 143)                                                                                           \
    X(NoPermission, 144)                                                                                             \
    X(PortInUse, 145)                                                                                                \
    X(NoSuchDevice, 146)                                                                                             \
    X(TextFilter, 147)               /* "Text (*.txt)" */                                                            \
    X(CaptureFilter, 148)            /* "Capture (*.pcapng)" */                                                      \
    X(NotSerialDevice, 149)                                                                                          \
    X(PrivateFolderUnusable, 150)    /* path, reason */                                                              \
    X(LockFileUnusable, 151)         /* path, reason */                                                              \
    X(NotAFolder, 152)                                                                                               \
    X(OwnedByAnotherUser, 153)                                                                                       \
    X(OpenToOthers, 154)                                                                                             \
    X(NotARegularFile, 155)                                                                                          \
    X(LinkStatisticsMenu, 156)                                                                                       \
    X(Decode, 157)                   /* "&Decode" */                                                                 \
    X(Time, 158)                                                                                                     \
    X(Direction, 159)                                                                                                \
    X(Type, 160)                                                                                                     \
    X(Service, 161)                                                                                                  \
    X(Object, 162)                                                                                                   \
    X(Instance, 163)                                                                                                 \
    X(Attribute, 164)                                                                                                \
    X(Crc, 165)                                                                                                      \
    X(SetAside, 166)                                                                                                 \
    X(Sent, 167)                     /* "TX" */                                                                      \
    X(Received, 168)                 /* "RX" */                                                                      \
    X(IoData, 169)                                                                                                   \
    X(Request, 170)                                                                                                  \
    X(Response, 171)                                                                                                 \
    X(ErrorAnswer, 172)                                                                                              \
    X(UnknownType, 173)                                                                                              \
    X(BaudRateProbe, 174)                                                                                            \
    X(ProbeAnswer, 175)                                                                                              \
    X(CutShort, 176)                                                                                                 \
    X(Reconnecting, 177)

// NoText stands for no text at all (an outcome that shows nothing); the catalogues have no such id.
enum class TextId {
    NoText = 0,
#define TRELMO_TEXT_ID_ENUMERATOR(name, number) name = number,
    TRELMO_TEXT_IDS(TRELMO_TEXT_ID_ENUMERATOR)
#undef TRELMO_TEXT_ID_ENUMERATOR
};

// Every numbered text, in catalogue order.
constexpr TextId AllTextIds[] = {
#define TRELMO_TEXT_ID_ELEMENT(name, number) TextId::name,
    TRELMO_TEXT_IDS(TRELMO_TEXT_ID_ELEMENT)
#undef TRELMO_TEXT_ID_ELEMENT
};

// The catalogues number their texts from 101 without gaps; a number listed twice or skipped fails the build.
constexpr bool TextIdsRunWithoutGaps()
{
    int expected = 101;
    for (TextId id : AllTextIds) {
        if (static_cast<int>(id) != expected++)
            return false;
    }
    return true;
}
static_assert(TextIdsRunWithoutGaps(), "the text ids must run from 101 without gaps");

} // namespace trelmo
