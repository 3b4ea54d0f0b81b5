-- Wireshark dissector for the frames between a host and a Trelmo module, as trelmo-cli --trace and the Message
-- Display window's capture save write them: pcapng link type USER0 (147), one frame per packet, the direction in the
-- packet flags (outbound: host to module). Install into Wireshark's personal or global plugin folder.

local trelmo = Proto("trelmo", "Trelmo module frame")

local frame_types = { [0] = "I/O data", [1] = "Request", [2] = "Response", [3] = "Error answer" }
local services = { [1] = "Read", [2] = "Write" }

local f = trelmo.fields
f.sequence = ProtoField.uint8("trelmo.sequence", "Sequence", base.DEC)
f.frame_type = ProtoField.uint8("trelmo.frame_type", "Frame type", base.DEC, frame_types)
f.length = ProtoField.uint16("trelmo.length", "Length", base.DEC)
f.service = ProtoField.uint8("trelmo.service", "Service", base.DEC, services)
f.object = ProtoField.uint8("trelmo.object", "Object", base.HEX)
f.instance = ProtoField.uint16("trelmo.instance", "Instance", base.DEC)
f.attribute = ProtoField.uint16("trelmo.attribute", "Attribute", base.DEC)
f.data = ProtoField.bytes("trelmo.data", "Data", base.SPACE)
f.io_data = ProtoField.bytes("trelmo.io_data", "I/O data", base.SPACE)
f.crc = ProtoField.uint16("trelmo.crc", "CRC", base.HEX)
f.crc_good = ProtoField.bool("trelmo.crc.good", "CRC good")
f.probe = ProtoField.bytes("trelmo.probe", "Auto-baud bytes", base.SPACE)
f.extra = ProtoField.bytes("trelmo.extra", "Bytes after the frame", base.SPACE)

local bad_crc = ProtoExpert.new("trelmo.crc.bad", "Wrong CRC", expert.group.CHECKSUM, expert.severity.ERROR)
local cut_short = ProtoExpert.new("trelmo.short", "Frame cut short", expert.group.MALFORMED, expert.severity.ERROR)
trelmo.experts = { bad_crc, cut_short }

local direction_field = Field.new("frame.packet_flags_direction")

-- CRC-16/MODBUS (reflected 0xA001, initial 0xFFFF); it travels low-order byte first.
local function crc16(tvb, count)
    local crc = 0xFFFF
    for i = 0, count - 1 do
        crc = bit.bxor(crc, tvb(i, 1):uint())
        for _ = 1, 8 do
            if bit.band(crc, 1) == 1 then
                crc = bit.bxor(bit.rshift(crc, 1), 0xA001)
            else
                crc = bit.rshift(crc, 1)
            end
        end
    end
    return crc
end

local function direction_text()
    local direction = direction_field()
    if direction and direction.value == 2 then
        return "Host -> Module"
    elseif direction and direction.value == 1 then
        return "Module -> Host"
    end
    return "?"
end

function trelmo.dissector(tvb, pinfo, tree)
    pinfo.cols.protocol = "TRELMO"
    local size = tvb:len()
    local subtree = tree:add(trelmo, tvb(), "Trelmo frame, " .. direction_text())
    if size < 6 then
        subtree:add(f.probe, tvb())
        if size >= 4 then
            subtree:add_proto_expert_info(cut_short)
        end
        pinfo.cols.info = direction_text() .. " " .. tostring(tvb():bytes())
        return size
    end

    local frame_type = tvb(1, 1):uint()
    local length = tvb(2, 2):uint()
    subtree:add(f.sequence, tvb(0, 1))
    subtree:add(f.frame_type, tvb(1, 1))
    subtree:add(f.length, tvb(2, 2))
    local info = direction_text() .. " " .. (frame_types[frame_type] or ("type " .. frame_type))
    local body_end = 4 + length
    if body_end + 2 > size then
        subtree:add_proto_expert_info(cut_short)
        pinfo.cols.info = info .. " [cut short]"
        return size
    end

    if frame_type == 0 then
        if length > 0 then
            subtree:add(f.io_data, tvb(4, length))
        end
        info = info .. ", " .. length .. " bytes"
    elseif frame_type <= 3 and length >= 6 then
        -- Requests, responses and error answers carry the object header; a frame of another type is shown as data.
        subtree:add(f.service, tvb(4, 1))
        subtree:add(f.object, tvb(5, 1))
        subtree:add(f.instance, tvb(6, 2))
        subtree:add(f.attribute, tvb(8, 2))
        if length > 6 then
            subtree:add(f.data, tvb(10, length - 6))
        end
        info = info .. string.format(", %s object 0x%02X %d/%d", services[tvb(4, 1):uint()] or "service ?",
            tvb(5, 1):uint(), tvb(6, 2):uint(), tvb(8, 2):uint())
    elseif length > 0 then
        subtree:add(f.data, tvb(4, length))
    end

    local crc_item = subtree:add_le(f.crc, tvb(body_end, 2))
    local good = tvb(body_end, 2):le_uint() == crc16(tvb, body_end)
    subtree:add(f.crc_good, good):set_generated()
    if not good then
        crc_item:add_proto_expert_info(bad_crc)
        info = info .. " [wrong CRC]"
    end
    if body_end + 2 < size then
        subtree:add(f.extra, tvb(body_end + 2))
    end
    pinfo.cols.info = info
    return size
end

local encapsulations = wtap_encaps or wtap
DissectorTable.get("wtap_encap"):add(encapsulations.USER0, trelmo)
