# Lays the firmware program (an Intel HEX file from sdcc) into the 8192-byte image that the
# library embeds, every byte the program does not use being 0xAA, and writes it as C++ source.
#   cmake -DHEX=pod_firmware.ihx -DSOURCE=firmware_image.cpp -DMODE=write -P firmware_image.cmake
#   ... -DMODE=check fails when SOURCE is not what HEX makes.
cmake_minimum_required(VERSION 3.25)

set(image_bytes 8192)
string(REPEAT "AA" ${image_bytes} image)

# Read as text: file(STRINGS) would otherwise turn the records into the bytes they hold.
file(STRINGS "${HEX}" records NO_HEX_CONVERSION)
foreach(record IN LISTS records)
    string(STRIP "${record}" record)
    if(NOT record MATCHES "^:([0-9A-Fa-f][0-9A-Fa-f])+$")
        message(FATAL_ERROR "${HEX}: not an Intel HEX record: ${record}")
    endif()
    string(TOUPPER "${record}" record)
    string(LENGTH "${record}" characters)
    math(EXPR bytes "(${characters} - 1) / 2")
    set(sum 0)
    foreach(i RANGE 1 ${bytes})
        math(EXPR at "${i} * 2 - 1")
        string(SUBSTRING "${record}" ${at} 2 byte)
        math(EXPR sum "(${sum} + 0x${byte}) % 256")
    endforeach()
    string(SUBSTRING "${record}" 1 2 count)
    string(SUBSTRING "${record}" 3 4 address)
    string(SUBSTRING "${record}" 7 2 type)
    math(EXPR count "0x${count}")
    math(EXPR address "0x${address}")
    math(EXPR expected "${count} + 5")
    if(NOT sum EQUAL 0 OR NOT bytes EQUAL expected)
        message(FATAL_ERROR "${HEX}: a damaged record: ${record}")
    endif()
    if(type STREQUAL "01")
        break()
    elseif(NOT type STREQUAL "00")
        message(FATAL_ERROR "${HEX}: record type ${type} does not belong in an 8051 image")
    endif()
    math(EXPR end "${address} + ${count}")
    if(end GREATER image_bytes)
        message(FATAL_ERROR "${HEX}: the program does not fit into ${image_bytes} bytes")
    endif()
    math(EXPR before "${address} * 2")
    math(EXPR after "${end} * 2")
    math(EXPR data_characters "${count} * 2")
    string(SUBSTRING "${image}" 0 ${before} head)
    string(SUBSTRING "${image}" ${after} -1 tail)
    string(SUBSTRING "${record}" 9 ${data_characters} data)
    set(image "${head}${data}${tail}")
endforeach()

string(REGEX REPLACE "([0-9A-F][0-9A-F])" "0x\\1, " rows "${image}")
string(REPEAT "0x[0-9A-F][0-9A-F], " 16 row) # CMake's expressions have no {16}
string(REGEX REPLACE "(${row})" "    \\1\n" rows "${rows}")
string(REPLACE ", \n" ",\n" rows "${rows}")

set(text "// Generated from pod_firmware.c by firmware_image.cmake (build target
// pod_firmware_update); do not edit.
#include \"usb/firmware/firmware_image.h\"

namespace podcore::usb::firmware {

namespace {
constexpr uint8_t kImage[kImageBytes] = {
${rows}};
} // namespace

const uint8_t* EmbeddedImage() {
    return kImage;
}

} // namespace podcore::usb::firmware
")

if(MODE STREQUAL "write")
    file(WRITE "${SOURCE}" "${text}")
elseif(MODE STREQUAL "check")
    file(READ "${SOURCE}" current)
    if(NOT current STREQUAL text)
        message(FATAL_ERROR "${SOURCE} is not the image that pod_firmware.c builds to: "
                            "rebuild it with `cmake --build <build> -t pod_firmware_update`")
    endif()
    message(STATUS "${SOURCE} is the image that pod_firmware.c builds to")
else()
    message(FATAL_ERROR "MODE must be write or check")
endif()
