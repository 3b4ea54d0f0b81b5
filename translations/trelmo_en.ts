<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="101">
        <source>About Trelmo(&amp;A)...</source>
        <translation>About Trelmo(&amp;A)...</translation>
    </message>
    <message id="102">
        <source>Connecting...</source>
        <translation>Connecting...</translation>
    </message>
    <message id="103">
        <source>Connection failed! ERROR:01</source>
        <translation>Connection failed! ERROR:01</translation>
    </message>
    <message id="104">
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message id="105">
        <source>Connection failed! ERROR:02</source>
        <translation>Connection failed! ERROR:02</translation>
    </message>
    <message id="106">
        <source>Connection failed! ERROR:04</source>
        <translation>Connection failed! ERROR:04</translation>
    </message>
    <message id="107">
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message id="108">
        <source>Error occurs! ERROR:04</source>
        <translation>Error occurs! ERROR:04</translation>
    </message>
    <message id="109">
        <source>Error occurs! ERROR:05</source>
        <translation>Error occurs! ERROR:05</translation>
    </message>
    <message id="110">
        <source>ERROR:61 Illegal input data</source>
        <translation>ERROR:61 Illegal input data</translation>
    </message>
    <message id="111">
        <source>ERROR:244 Maximum byte 244</source>
        <translation>ERROR:244 Maximum byte 244</translation>
    </message>
    <message id="112">
        <source>Open only one compact embedded module Demo Software instances</source>
        <translation>Open only one compact embedded module Demo Software instances</translation>
    </message>
    <message id="113">
        <source>No data</source>
        <translation>No data</translation>
    </message>
    <message id="114">
        <source>Instance and attribute combinations can not be repeated</source>
        <translation>Instance and attribute combinations can not be repeated</translation>
    </message>
    <message id="115">
        <source>Data can not be empty ERROR: 26</source>
        <translation>Data can not be empty ERROR: 26</translation>
    </message>
    <message id="116">
        <source>Instance Number.</source>
        <translation>Instance Number.</translation>
    </message>
    <message id="117">
        <source>Attribute number</source>
        <translation>Attribute number</translation>
    </message>
    <message id="118">
        <source>Length</source>
        <translation>Length</translation>
    </message>
    <message id="119">
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message id="120">
        <source>No rows selected</source>
        <translation>No rows selected</translation>
    </message>
    <message id="121">
        <source>Error occurs! ERROR:00</source>
        <translation>Error occurs! ERROR:00</translation>
    </message>
    <message id="122">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="123">
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message id="124">
        <source>ERROR: 101 Failed to save</source>
        <translation>ERROR: 101 Failed to save</translation>
    </message>
    <message id="125">
        <source>Successfully saved</source>
        <translation>Successfully saved</translation>
    </message>
    <message id="126">
        <source>Please complete object ID, instance number,attributes number  ERROR:30 </source>
        <translation>Please complete object ID, instance number,attributes number  ERROR:30 </translation>
    </message>
    <message id="127">
        <source>Input data can not be empty ERROR:31</source>
        <translation>Input data can not be empty ERROR:31</translation>
    </message>
    <message id="128">
        <source>Read failed ERROR:32</source>
        <translation>Read failed ERROR:32</translation>
    </message>
    <message id="129">
        <source>Write failed ERROR:33</source>
        <translation>Write failed ERROR:33</translation>
    </message>
    <message id="130">
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message id="131">
        <source>Write</source>
        <translation>Write</translation>
    </message>
    <message id="132">
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message id="133">
        <source>Timeout</source>
        <translation>Timeout</translation>
    </message>
    <message id="134">
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message id="135">
        <source>The input data is empty</source>
        <translation>The input data is empty</translation>
    </message>
    <message id="136">
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message id="137">
        <source>Successful</source>
        <translation>Successful</translation>
    </message>
    <message id="138">
        <source>UART Auto BaudRate</source>
        <translation>UART Auto BaudRate</translation>
    </message>
    <message id="139">
        <source>Non</source>
        <translation>Non</translation>
    </message>
    <message id="140">
        <source>Bus address can not be 0</source>
        <translation>Bus address can not be 0</translation>
    </message>
    <message id="141">
        <source>Bus address can not be empty</source>
        <translation>Bus address can not be empty</translation>
    </message>
    <message id="142">
        <source>Application data objects and application configuration object does not support the current</source>
        <translation>Application data objects and application configuration object does not support the current</translation>
    </message>
    <message id="143">
        <source>Connection to the module lost</source>
        <translation>Connection to the module lost</translation>
    </message>
    <message id="144">
        <source>No permission to use the port. Add your user to the serial-port group (dialout on Debian) and log in again.</source>
        <translation>No permission to use the port. Add your user to the serial-port group (dialout on Debian) and log in again.</translation>
    </message>
    <message id="145">
        <source>The port is in use by another program.</source>
        <translation>The port is in use by another program.</translation>
    </message>
    <message id="146">
        <source>No such device.</source>
        <translation>No such device.</translation>
    </message>
    <message id="147">
        <source>Text (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message id="148">
        <source>Capture (*.pcapng)</source>
        <translation>Capture (*.pcapng)</translation>
    </message>
    <message id="149">
        <source>Not a serial device.</source>
        <translation>Not a serial device.</translation>
    </message>
    <message id="150">
        <source>The private folder %1 cannot be used: %2.</source>
        <translation>The private folder %1 cannot be used: %2.</translation>
    </message>
    <message id="151">
        <source>The lock file %1 cannot be used: %2.</source>
        <translation>The lock file %1 cannot be used: %2.</translation>
    </message>
    <message id="152">
        <source>it is not a folder, or it is a link</source>
        <translation>it is not a folder, or it is a link</translation>
    </message>
    <message id="153">
        <source>it belongs to another user</source>
        <translation>it belongs to another user</translation>
    </message>
    <message id="154">
        <source>other users have access to it</source>
        <translation>other users have access to it</translation>
    </message>
    <message id="155">
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message id="156">
        <source>Link Statistics</source>
        <translation>Link Statistics</translation>
    </message>
    <message id="157">
        <source>&amp;Decode</source>
        <translation>&amp;Decode</translation>
    </message>
    <message id="158">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="159">
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message id="160">
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message id="161">
        <source>Service</source>
        <translation>Service</translation>
    </message>
    <message id="162">
        <source>Object</source>
        <translation>Object</translation>
    </message>
    <message id="163">
        <source>Instance</source>
        <translation>Instance</translation>
    </message>
    <message id="164">
        <source>Attribute</source>
        <translation>Attribute</translation>
    </message>
    <message id="165">
        <source>CRC</source>
        <translation>CRC</translation>
    </message>
    <message id="166">
        <source>Set aside</source>
        <translation>Set aside</translation>
    </message>
    <message id="167">
        <source>TX</source>
        <translation>TX</translation>
    </message>
    <message id="168">
        <source>RX</source>
        <translation>RX</translation>
    </message>
    <message id="169">
        <source>I/O data</source>
        <translation>I/O data</translation>
    </message>
    <message id="170">
        <source>Request</source>
        <translation>Request</translation>
    </message>
    <message id="171">
        <source>Response</source>
        <translation>Response</translation>
    </message>
    <message id="172">
        <source>Error answer</source>
        <translation>Error answer</translation>
    </message>
    <message id="173">
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
    <message id="174">
        <source>Baud-rate probe</source>
        <translation>Baud-rate probe</translation>
    </message>
    <message id="175">
        <source>Probe answer</source>
        <translation>Probe answer</translation>
    </message>
    <message id="176">
        <source>Cut short</source>
        <translation>Cut short</translation>
    </message>
    <message id="177">
        <source>Reconnecting...</source>
        <translation>Reconnecting...</translation>
    </message>
    <message id="dlg.100.caption">
        <source>About Trelmo</source>
        <translation>About Trelmo</translation>
    </message>
    <message id="dlg.100.product">
        <source>Trelmo Demo Software</source>
        <translation>Trelmo Demo Software</translation>
    </message>
    <message id="dlg.100.version">
        <source>Version:1.0.1</source>
        <translation>Version:1.0.1</translation>
    </message>
    <message id="dlg.100.copyright">
        <source>Copyright (C) Trelmo Labs. All rights reserved.</source>
        <translation>Copyright (C) Trelmo Labs. All rights reserved.</translation>
    </message>
    <message id="dlg.100.support">
        <source>Technical Support: +1 555 0100</source>
        <translation>Technical Support: +1 555 0100</translation>
    </message>
    <message id="dlg.100.visit">
        <source>Need more information and upgrade, please visit:</source>
        <translation>Need more information and upgrade, please visit:</translation>
    </message>
    <message id="dlg.100.1000">
        <source>https://trelmo.example/demo</source>
        <translation>https://trelmo.example/demo</translation>
    </message>
    <message id="dlg.100.logo.name">
        <source>Trelmo Labs logo</source>
        <translation>Trelmo Labs logo</translation>
    </message>
    <message id="launch.prefix">
        <source>Unable to open hyperlink:

</source>
        <translation>Unable to open hyperlink:

</translation>
    </message>
    <message id="launch.0">
        <source>The operating system is out
of memory or resources.</source>
        <translation>The operating system is out
of memory or resources.</translation>
    </message>
    <message id="launch.2">
        <source>The specified file was not found.</source>
        <translation>The specified file was not found.</translation>
    </message>
    <message id="launch.3">
        <source>The specified path was not found.</source>
        <translation>The specified path was not found.</translation>
    </message>
    <message id="launch.5">
        <source>The operating system denied
access to the specified file.</source>
        <translation>The operating system denied
access to the specified file.</translation>
    </message>
    <message id="launch.8">
        <source>There was not enough memory to complete the operation.</source>
        <translation>There was not enough memory to complete the operation.</translation>
    </message>
    <message id="launch.11">
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</translation>
    </message>
    <message id="launch.26">
        <source>A sharing violation occurred. </source>
        <translation>A sharing violation occurred. </translation>
    </message>
    <message id="launch.27">
        <source>The filename association is
incomplete or invalid.</source>
        <translation>The filename association is
incomplete or invalid.</translation>
    </message>
    <message id="launch.28">
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>The DDE transaction could not
be completed because the request timed out.</translation>
    </message>
    <message id="launch.29">
        <source>The DDE transaction failed.</source>
        <translation>The DDE transaction failed.</translation>
    </message>
    <message id="launch.30">
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>The DDE transaction could not
be completed because other DDE transactions
were being processed.</translation>
    </message>
    <message id="launch.31">
        <source>There is no application associated
with the given filename extension.</source>
        <translation>There is no application associated
with the given filename extension.</translation>
    </message>
    <message id="launch.32">
        <source>The specified dynamic-link library was not found.</source>
        <translation>The specified dynamic-link library was not found.</translation>
    </message>
    <message id="launch.unknown">
        <source>Unknown Error (%d) occurred.</source>
        <translation>Unknown Error (%d) occurred.</translation>
    </message>
    <message id="dlg.102.caption">
        <source>Trelmo Demo Software</source>
        <translation>Trelmo Demo Software</translation>
    </message>
    <message id="dlg.102.1001">
        <source>Operating Mode</source>
        <translation>Operating Mode</translation>
    </message>
    <message id="dlg.102.1040">
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message id="dlg.102.1002">
        <source>Module Information</source>
        <translation>Module Information</translation>
    </message>
    <message id="dlg.102.1003">
        <source>Object Module Access</source>
        <translation>Object Module Access</translation>
    </message>
    <message id="dlg.102.1004">
        <source>Application Configuration Object</source>
        <translation>Application Configuration Object</translation>
    </message>
    <message id="dlg.102.1006">
        <source>OFFLINE</source>
        <translation>OFFLINE</translation>
    </message>
    <message id="dlg.102.1005">
        <source>Application Data Objects</source>
        <translation>Application Data Objects</translation>
    </message>
    <message id="dlg.102.1009">
        <source>Message Display</source>
        <translation>Message Display</translation>
    </message>
    <message id="dlg.102.1008.label">
        <source>I/O Read(Bus Network-&gt;Module-&gt;Demo)</source>
        <translation>I/O Read(Bus Network-&gt;Module-&gt;Demo)</translation>
    </message>
    <message id="dlg.102.1007.label">
        <source>I/O Write(Demo-&gt;Module-&gt;Bus Network)</source>
        <translation>I/O Write(Demo-&gt;Module-&gt;Bus Network)</translation>
    </message>
    <message id="dlg.102.1044.label">
        <source>Length:</source>
        <translation>Length:</translation>
    </message>
    <message id="dlg.102.1045.label">
        <source>Length:</source>
        <translation>Length:</translation>
    </message>
    <message id="dlg.102.1012.name">
        <source>I/O Write(Demo-&gt;Module-&gt;Bus Network)</source>
        <translation>I/O Write(Demo-&gt;Module-&gt;Bus Network)</translation>
    </message>
    <message id="dlg.102.1010">
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message id="dlg.134.caption">
        <source>Trelmo Configuration</source>
        <translation>Trelmo Configuration</translation>
    </message>
    <message id="dlg.134.1001.label">
        <source>Operating Mode:</source>
        <translation>Operating Mode:</translation>
    </message>
    <message id="dlg.134.1008.label">
        <source>Baud Rate:</source>
        <translation>Baud Rate:</translation>
    </message>
    <message id="dlg.134.1025.label">
        <source>Data Bits:</source>
        <translation>Data Bits:</translation>
    </message>
    <message id="dlg.134.1026.label">
        <source>Check Bit:</source>
        <translation>Check Bit:</translation>
    </message>
    <message id="dlg.134.1027.label">
        <source>Stop Bits:</source>
        <translation>Stop Bits:</translation>
    </message>
    <message id="dlg.134.1042.label">
        <source>Bus Address:</source>
        <translation>Bus Address:</translation>
    </message>
    <message id="dlg.134.1016.label">
        <source>IP Address:</source>
        <translation>IP Address:</translation>
    </message>
    <message id="dlg.134.1">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="dlg.134.2">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="dlg.134.1056.label">
        <source>Communicate Watchdog:</source>
        <translation>Communicate Watchdog:</translation>
    </message>
    <message id="dlg.135.caption">
        <source>Module Information</source>
        <translation>Module Information</translation>
    </message>
    <message id="dlg.135.1049.label">
        <source>Network Type:</source>
        <translation>Network Type:</translation>
    </message>
    <message id="dlg.135.1050.label">
        <source>Product Type:</source>
        <translation>Product Type:</translation>
    </message>
    <message id="dlg.135.1051.label">
        <source>Serial Number:</source>
        <translation>Serial Number:</translation>
    </message>
    <message id="dlg.135.1052.label">
        <source>Production Date:</source>
        <translation>Production Date:</translation>
    </message>
    <message id="dlg.135.1053.label">
        <source>Hardware Version:</source>
        <translation>Hardware Version:</translation>
    </message>
    <message id="dlg.135.1017.label">
        <source>Firmware  Version:</source>
        <translation>Firmware  Version:</translation>
    </message>
    <message id="dlg.136.caption">
        <source>Application Data Objects</source>
        <translation>Application Data Objects</translation>
    </message>
    <message id="dlg.136.1038.label">
        <source>Instance:</source>
        <translation>Instance:</translation>
    </message>
    <message id="dlg.136.1038.range">
        <source>(0-254)</source>
        <translation>(0-254)</translation>
    </message>
    <message id="dlg.136.1036.label">
        <source>Attribute:</source>
        <translation>Attribute:</translation>
    </message>
    <message id="dlg.136.1036.range">
        <source>(0-254)</source>
        <translation>(0-254)</translation>
    </message>
    <message id="dlg.136.1037.label">
        <source>Data:</source>
        <translation>Data:</translation>
    </message>
    <message id="dlg.136.1013">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="dlg.136.1014">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="dlg.136.1048.name">
        <source>Application Data Objects</source>
        <translation>Application Data Objects</translation>
    </message>
    <message id="dlg.137.caption">
        <source>Application Configuration Object</source>
        <translation>Application Configuration Object</translation>
    </message>
    <message id="dlg.137.1015.label">
        <source>Configuration Data</source>
        <translation>Configuration Data</translation>
    </message>
    <message id="dlg.137.1054.label">
        <source>Length:</source>
        <translation>Length:</translation>
    </message>
    <message id="dlg.137.1054.name">
        <source>Configuration Data Length:</source>
        <translation>Configuration Data Length:</translation>
    </message>
    <message id="dlg.137.1014.label">
        <source>Parameter Data</source>
        <translation>Parameter Data</translation>
    </message>
    <message id="dlg.137.1055.label">
        <source>Length:</source>
        <translation>Length:</translation>
    </message>
    <message id="dlg.137.1055.name">
        <source>Parameter Data Length:</source>
        <translation>Parameter Data Length:</translation>
    </message>
    <message id="dlg.138.caption">
        <source>Object Module Access</source>
        <translation>Object Module Access</translation>
    </message>
    <message id="dlg.138.1033.label">
        <source>Operating mode:</source>
        <translation>Operating mode:</translation>
    </message>
    <message id="dlg.138.1025.label">
        <source>Object Code:</source>
        <translation>Object Code:</translation>
    </message>
    <message id="dlg.138.1026.label">
        <source>Instance Code:</source>
        <translation>Instance Code:</translation>
    </message>
    <message id="dlg.138.1027.label">
        <source>Attribute Code:</source>
        <translation>Attribute Code:</translation>
    </message>
    <message id="dlg.138.1028.label">
        <source>Input Data:</source>
        <translation>Input Data:</translation>
    </message>
    <message id="dlg.138.1029.label">
        <source>Response Status:</source>
        <translation>Response Status:</translation>
    </message>
    <message id="dlg.138.1030.label">
        <source>Response Data:</source>
        <translation>Response Data:</translation>
    </message>
    <message id="dlg.138.1019">
        <source>Send</source>
        <translation>Send</translation>
    </message>
    <message id="dlg.138.2">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="dlg.141.caption">
        <source>Select the Serial Port</source>
        <translation>Select the Serial Port</translation>
    </message>
    <message id="dlg.141.1041.label">
        <source>Select Port:</source>
        <translation>Select Port:</translation>
    </message>
    <message id="dlg.141.1">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="dlg.141.2">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="dlg.142.caption">
        <source>Message Display</source>
        <translation>Message Display</translation>
    </message>
    <message id="dlg.142.1046">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="dlg.142.1047">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="dlg.142.2">
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message id="dlg.142.1048.name">
        <source>Messages</source>
        <translation>Messages</translation>
    </message>
    <message id="dlg.156.caption">
        <source>Link Statistics</source>
        <translation>Link Statistics</translation>
    </message>
    <message id="dlg.156.1057.label">
        <source>Cycles:</source>
        <translation>Cycles:</translation>
    </message>
    <message id="dlg.156.1058.label">
        <source>Answered:</source>
        <translation>Answered:</translation>
    </message>
    <message id="dlg.156.1059.label">
        <source>No answer:</source>
        <translation>No answer:</translation>
    </message>
    <message id="dlg.156.1060.label">
        <source>Broken answers:</source>
        <translation>Broken answers:</translation>
    </message>
    <message id="dlg.156.1061.label">
        <source>Error answers:</source>
        <translation>Error answers:</translation>
    </message>
    <message id="dlg.156.1062.label">
        <source>Bytes set aside:</source>
        <translation>Bytes set aside:</translation>
    </message>
    <message id="dlg.156.1063.label">
        <source>Last cycle period (ms):</source>
        <translation>Last cycle period (ms):</translation>
    </message>
    <message id="dlg.156.1064.label">
        <source>Mean cycle period (ms):</source>
        <translation>Mean cycle period (ms):</translation>
    </message>
    <message id="dlg.156.1065.label">
        <source>Slowest cycle period (ms):</source>
        <translation>Slowest cycle period (ms):</translation>
    </message>
</context>
</TS>
