<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="101">
        <source>About Trelmo(&amp;A)...</source>
        <translation>关于 Trelmo(&amp;A)...</translation>
    </message>
    <message id="102">
        <source>Connecting...</source>
        <translation>连接中...</translation>
    </message>
    <message id="103">
        <source>Connection failed! ERROR:01</source>
        <translation>串口连接失败! ERROR:01</translation>
    </message>
    <message id="104">
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message id="105">
        <source>Connection failed! ERROR:02</source>
        <translation>串口连接失败! ERROR:02</translation>
    </message>
    <message id="106">
        <source>Connection failed! ERROR:04</source>
        <translation>串口连接失败! ERROR:04</translation>
    </message>
    <message id="107">
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message id="108">
        <source>Error occurs! ERROR:04</source>
        <translation>错误发生! ERROR:04</translation>
    </message>
    <message id="109">
        <source>Error occurs! ERROR:05</source>
        <translation>错误发生! ERROR:05</translation>
    </message>
    <message id="110">
        <source>ERROR:61 Illegal input data</source>
        <translation>ERROR:61 数据输入不合法</translation>
    </message>
    <message id="111">
        <source>ERROR:244 Maximum byte 244</source>
        <translation>ERROR:244 最大字节244</translation>
    </message>
    <message id="112">
        <source>Open only one compact embedded module Demo Software instances</source>
        <translation>只能打开一个紧凑型嵌入式模块Demo软件实例</translation>
    </message>
    <message id="113">
        <source>No data</source>
        <translation>无数据</translation>
    </message>
    <message id="114">
        <source>Instance and attribute combinations can not be repeated</source>
        <translation>实例号和属性号组合不能重复 ERROR:25</translation>
    </message>
    <message id="115">
        <source>Data can not be empty ERROR: 26</source>
        <translation>数据不能为空 ERROR:26</translation>
    </message>
    <message id="116">
        <source>Instance Number.</source>
        <translation>实例号</translation>
    </message>
    <message id="117">
        <source>Attribute number</source>
        <translation>属性号</translation>
    </message>
    <message id="118">
        <source>Length</source>
        <translation>长度</translation>
    </message>
    <message id="119">
        <source>Data</source>
        <translation>数据</translation>
    </message>
    <message id="120">
        <source>No rows selected</source>
        <translation>没有选中行</translation>
    </message>
    <message id="121">
        <source>Error occurs! ERROR:00</source>
        <translation>错误发生! ERROR:00</translation>
    </message>
    <message id="122">
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message id="123">
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message id="124">
        <source>ERROR: 101 Failed to save</source>
        <translation>ERROR:101 保存失败</translation>
    </message>
    <message id="125">
        <source>Successfully saved</source>
        <translation>保存成功</translation>
    </message>
    <message id="126">
        <source>Please complete object ID, instance number,attributes number  ERROR:30 </source>
        <translation>请完整填写对象号、实例号、属性号的值 ERROR:30</translation>
    </message>
    <message id="127">
        <source>Input data can not be empty ERROR:31</source>
        <translation>输入数据不能为空 ERROR:31</translation>
    </message>
    <message id="128">
        <source>Read failed ERROR:32</source>
        <translation>读取失败 ERROR:32</translation>
    </message>
    <message id="129">
        <source>Write failed ERROR:33</source>
        <translation>写入失败 ERROR:33</translation>
    </message>
    <message id="130">
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message id="131">
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message id="132">
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message id="133">
        <source>Timeout</source>
        <translation>超时</translation>
    </message>
    <message id="134">
        <source>Right</source>
        <translation>正确</translation>
    </message>
    <message id="135">
        <source>The input data is empty</source>
        <translation>输入数据为空</translation>
    </message>
    <message id="136">
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message id="137">
        <source>Successful</source>
        <translation>成功</translation>
    </message>
    <message id="138">
        <source>UART Auto BaudRate</source>
        <translation>UART 自动波特率</translation>
    </message>
    <message id="139">
        <source>Non</source>
        <translation>无</translation>
    </message>
    <message id="140">
        <source>Bus address can not be 0</source>
        <translation>总线地址不能为零</translation>
    </message>
    <message id="141">
        <source>Bus address can not be empty</source>
        <translation>总线地址不能为空</translation>
    </message>
    <message id="142">
        <source>Application data objects and application configuration object does not support the current</source>
        <translation>目前不支持应用配置对象和应用数据对象</translation>
    </message>
    <message id="143">
        <source>Connection to the module lost</source>
        <translation>与模块的连接已断开</translation>
    </message>
    <message id="144">
        <source>No permission to use the port. Add your user to the serial-port group (dialout on Debian) and log in again.</source>
        <translation>没有使用该串口的权限。请将用户加入串口用户组（Debian 上为 dialout）后重新登录。</translation>
    </message>
    <message id="145">
        <source>The port is in use by another program.</source>
        <translation>该串口正被其他程序占用。</translation>
    </message>
    <message id="146">
        <source>No such device.</source>
        <translation>设备不存在。</translation>
    </message>
    <message id="147">
        <source>Text (*.txt)</source>
        <translation>文本文件 (*.txt)</translation>
    </message>
    <message id="148">
        <source>Capture (*.pcapng)</source>
        <translation>捕获文件 (*.pcapng)</translation>
    </message>
    <message id="149">
        <source>Not a serial device.</source>
        <translation>不是串口设备。</translation>
    </message>
    <message id="150">
        <source>The private folder %1 cannot be used: %2.</source>
        <translation>无法使用私有文件夹 %1：%2。</translation>
    </message>
    <message id="151">
        <source>The lock file %1 cannot be used: %2.</source>
        <translation>无法使用锁文件 %1：%2。</translation>
    </message>
    <message id="152">
        <source>it is not a folder, or it is a link</source>
        <translation>它不是文件夹，或者是一个链接</translation>
    </message>
    <message id="153">
        <source>it belongs to another user</source>
        <translation>它属于其他用户</translation>
    </message>
    <message id="154">
        <source>other users have access to it</source>
        <translation>其他用户可以访问它</translation>
    </message>
    <message id="155">
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message id="156">
        <source>Link Statistics</source>
        <translation>链路统计</translation>
    </message>
    <message id="157">
        <source>&amp;Decode</source>
        <translation>解码(&amp;D)</translation>
    </message>
    <message id="158">
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message id="159">
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message id="160">
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message id="161">
        <source>Service</source>
        <translation>服务</translation>
    </message>
    <message id="162">
        <source>Object</source>
        <translation>对象</translation>
    </message>
    <message id="163">
        <source>Instance</source>
        <translation>实例</translation>
    </message>
    <message id="164">
        <source>Attribute</source>
        <translation>属性</translation>
    </message>
    <message id="165">
        <source>CRC</source>
        <translation>CRC</translation>
    </message>
    <message id="166">
        <source>Set aside</source>
        <translation>已搁置</translation>
    </message>
    <message id="167">
        <source>TX</source>
        <translation>发送</translation>
    </message>
    <message id="168">
        <source>RX</source>
        <translation>接收</translation>
    </message>
    <message id="169">
        <source>I/O data</source>
        <translation>I/O数据</translation>
    </message>
    <message id="170">
        <source>Request</source>
        <translation>请求</translation>
    </message>
    <message id="171">
        <source>Response</source>
        <translation>响应</translation>
    </message>
    <message id="172">
        <source>Error answer</source>
        <translation>错误应答</translation>
    </message>
    <message id="173">
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message id="174">
        <source>Baud-rate probe</source>
        <translation>波特率探测</translation>
    </message>
    <message id="175">
        <source>Probe answer</source>
        <translation>探测应答</translation>
    </message>
    <message id="176">
        <source>Cut short</source>
        <translation>不完整</translation>
    </message>
    <message id="177">
        <source>Reconnecting...</source>
        <translation>重新连接中...</translation>
    </message>
    <message id="dlg.100.caption">
        <source>About Trelmo</source>
        <translation>关于 Trelmo</translation>
    </message>
    <message id="dlg.100.product">
        <source>Trelmo Demo Software</source>
        <translation>紧凑型嵌入式模块Demo软件</translation>
    </message>
    <message id="dlg.100.version">
        <source>Version:1.0.1</source>
        <translation>版本:1.0.1</translation>
    </message>
    <message id="dlg.100.copyright">
        <source>Copyright (C) Trelmo Labs. All rights reserved.</source>
        <translation>版权所有 (C) Trelmo Labs，保留所有权利。</translation>
    </message>
    <message id="dlg.100.support">
        <source>Technical Support: +1 555 0100</source>
        <translation>技术支持: +1 555 0100</translation>
    </message>
    <message id="dlg.100.visit">
        <source>Need more information and upgrade, please visit:</source>
        <translation>需要更多信息和升级，请访问公司网站：</translation>
    </message>
    <message id="dlg.100.1000">
        <source>https://trelmo.example/demo</source>
        <translation>https://trelmo.example/demo</translation>
    </message>
    <message id="dlg.100.logo.name">
        <source>Trelmo Labs logo</source>
        <translation>Trelmo Labs 标志</translation>
    </message>
    <message id="launch.prefix">
        <source>Unable to open hyperlink:

</source>
        <translation>无法打开超链接：

</translation>
    </message>
    <message id="launch.0">
        <source>The operating system is out
of memory or resources.</source>
        <translation>操作系统内存
或资源不足。</translation>
    </message>
    <message id="launch.2">
        <source>The specified file was not found.</source>
        <translation>找不到指定的文件。</translation>
    </message>
    <message id="launch.3">
        <source>The specified path was not found.</source>
        <translation>找不到指定的路径。</translation>
    </message>
    <message id="launch.5">
        <source>The operating system denied
access to the specified file.</source>
        <translation>操作系统拒绝
访问指定的文件。</translation>
    </message>
    <message id="launch.8">
        <source>There was not enough memory to complete the operation.</source>
        <translation>没有足够的内存来完成该操作。</translation>
    </message>
    <message id="launch.11">
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>.EXE 文件无效
(不是 Win32 .EXE 或 .EXE 映像有错误)。</translation>
    </message>
    <message id="launch.26">
        <source>A sharing violation occurred. </source>
        <translation>发生共享冲突。</translation>
    </message>
    <message id="launch.27">
        <source>The filename association is
incomplete or invalid.</source>
        <translation>文件名关联
不完整或无效。</translation>
    </message>
    <message id="launch.28">
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>请求超时，
DDE 事务无法完成。</translation>
    </message>
    <message id="launch.29">
        <source>The DDE transaction failed.</source>
        <translation>DDE 事务失败。</translation>
    </message>
    <message id="launch.30">
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>正在处理其他 DDE 事务，
该 DDE 事务无法完成。</translation>
    </message>
    <message id="launch.31">
        <source>There is no application associated
with the given filename extension.</source>
        <translation>没有与给定文件扩展名
关联的应用程序。</translation>
    </message>
    <message id="launch.32">
        <source>The specified dynamic-link library was not found.</source>
        <translation>找不到指定的动态链接库。</translation>
    </message>
    <message id="launch.unknown">
        <source>Unknown Error (%d) occurred.</source>
        <translation>发生未知错误 (%d)。</translation>
    </message>
    <message id="dlg.102.caption">
        <source>Trelmo Demo Software</source>
        <translation>Trelmo Demo软件</translation>
    </message>
    <message id="dlg.102.1001">
        <source>Operating Mode</source>
        <translation>工作模式</translation>
    </message>
    <message id="dlg.102.1040">
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message id="dlg.102.1002">
        <source>Module Information</source>
        <translation>模块信息</translation>
    </message>
    <message id="dlg.102.1003">
        <source>Object Module Access</source>
        <translation>对象模型访问</translation>
    </message>
    <message id="dlg.102.1004">
        <source>Application Configuration Object</source>
        <translation>应用配置对象</translation>
    </message>
    <message id="dlg.102.1006">
        <source>OFFLINE</source>
        <translation>OFFLINE</translation>
    </message>
    <message id="dlg.102.1005">
        <source>Application Data Objects</source>
        <translation>应用数据对象</translation>
    </message>
    <message id="dlg.102.1009">
        <source>Message Display</source>
        <translation>报文显示</translation>
    </message>
    <message id="dlg.102.1008.label">
        <source>I/O Read(Bus Network-&gt;Module-&gt;Demo)</source>
        <translation>I/O读数据(总线网络-&gt;模块-&gt;Demo)</translation>
    </message>
    <message id="dlg.102.1007.label">
        <source>I/O Write(Demo-&gt;Module-&gt;Bus Network)</source>
        <translation>I/O写数据(Demo-&gt;模块-&gt;总线网络)</translation>
    </message>
    <message id="dlg.102.1044.label">
        <source>Length:</source>
        <translation>长度:</translation>
    </message>
    <message id="dlg.102.1045.label">
        <source>Length:</source>
        <translation>长度:</translation>
    </message>
    <message id="dlg.102.1012.name">
        <source>I/O Write(Demo-&gt;Module-&gt;Bus Network)</source>
        <translation>I/O写数据(Demo-&gt;模块-&gt;总线网络)</translation>
    </message>
    <message id="dlg.102.1010">
        <source>Disconnect</source>
        <translation>断开连接</translation>
    </message>
    <message id="dlg.134.caption">
        <source>Trelmo Configuration</source>
        <translation>Trelmo设置</translation>
    </message>
    <message id="dlg.134.1001.label">
        <source>Operating Mode:</source>
        <translation>工作模式:</translation>
    </message>
    <message id="dlg.134.1008.label">
        <source>Baud Rate:</source>
        <translation>波特率:</translation>
    </message>
    <message id="dlg.134.1025.label">
        <source>Data Bits:</source>
        <translation>数据位:</translation>
    </message>
    <message id="dlg.134.1026.label">
        <source>Check Bit:</source>
        <translation>奇偶校验:</translation>
    </message>
    <message id="dlg.134.1027.label">
        <source>Stop Bits:</source>
        <translation>停止位:</translation>
    </message>
    <message id="dlg.134.1042.label">
        <source>Bus Address:</source>
        <translation>总线地址:</translation>
    </message>
    <message id="dlg.134.1016.label">
        <source>IP Address:</source>
        <translation>IP地址:</translation>
    </message>
    <message id="dlg.134.1">
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message id="dlg.134.2">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="dlg.134.1056.label">
        <source>Communicate Watchdog:</source>
        <translation>通信看门狗:</translation>
    </message>
    <message id="dlg.135.caption">
        <source>Module Information</source>
        <translation>模块信息</translation>
    </message>
    <message id="dlg.135.1049.label">
        <source>Network Type:</source>
        <translation>网络类型:</translation>
    </message>
    <message id="dlg.135.1050.label">
        <source>Product Type:</source>
        <translation>产品型号:</translation>
    </message>
    <message id="dlg.135.1051.label">
        <source>Serial Number:</source>
        <translation>产品序列号:</translation>
    </message>
    <message id="dlg.135.1052.label">
        <source>Production Date:</source>
        <translation>生产日期:</translation>
    </message>
    <message id="dlg.135.1053.label">
        <source>Hardware Version:</source>
        <translation>硬件版本:</translation>
    </message>
    <message id="dlg.135.1017.label">
        <source>Firmware  Version:</source>
        <translation>固件版本:</translation>
    </message>
    <message id="dlg.136.caption">
        <source>Application Data Objects</source>
        <translation>应用数据对象</translation>
    </message>
    <message id="dlg.136.1038.label">
        <source>Instance:</source>
        <translation>实例号:</translation>
    </message>
    <message id="dlg.136.1038.range">
        <source>(0-254)</source>
        <translation>(0-254)</translation>
    </message>
    <message id="dlg.136.1036.label">
        <source>Attribute:</source>
        <translation>属性号:</translation>
    </message>
    <message id="dlg.136.1036.range">
        <source>(0-254)</source>
        <translation>(0-254)</translation>
    </message>
    <message id="dlg.136.1037.label">
        <source>Data:</source>
        <translation>数据:</translation>
    </message>
    <message id="dlg.136.1013">
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message id="dlg.136.1014">
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message id="dlg.136.1048.name">
        <source>Application Data Objects</source>
        <translation>应用数据对象</translation>
    </message>
    <message id="dlg.137.caption">
        <source>Application Configuration Object</source>
        <translation>应用配置对象</translation>
    </message>
    <message id="dlg.137.1015.label">
        <source>Configuration Data</source>
        <translation>配置数据</translation>
    </message>
    <message id="dlg.137.1054.label">
        <source>Length:</source>
        <translation>长度:</translation>
    </message>
    <message id="dlg.137.1054.name">
        <source>Configuration Data Length:</source>
        <translation>配置数据长度:</translation>
    </message>
    <message id="dlg.137.1014.label">
        <source>Parameter Data</source>
        <translation>参数数据</translation>
    </message>
    <message id="dlg.137.1055.label">
        <source>Length:</source>
        <translation>长度:</translation>
    </message>
    <message id="dlg.137.1055.name">
        <source>Parameter Data Length:</source>
        <translation>参数数据长度:</translation>
    </message>
    <message id="dlg.138.caption">
        <source>Object Module Access</source>
        <translation>对象模型访问</translation>
    </message>
    <message id="dlg.138.1033.label">
        <source>Operating mode:</source>
        <translation>操作方式:</translation>
    </message>
    <message id="dlg.138.1025.label">
        <source>Object Code:</source>
        <translation>对象代码:</translation>
    </message>
    <message id="dlg.138.1026.label">
        <source>Instance Code:</source>
        <translation>实例代码:</translation>
    </message>
    <message id="dlg.138.1027.label">
        <source>Attribute Code:</source>
        <translation>属性代码:</translation>
    </message>
    <message id="dlg.138.1028.label">
        <source>Input Data:</source>
        <translation>输入数据:</translation>
    </message>
    <message id="dlg.138.1029.label">
        <source>Response Status:</source>
        <translation>响应状态:</translation>
    </message>
    <message id="dlg.138.1030.label">
        <source>Response Data:</source>
        <translation>响应数据:</translation>
    </message>
    <message id="dlg.138.1019">
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message id="dlg.138.2">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="dlg.141.caption">
        <source>Select the Serial Port</source>
        <translation>选择串口</translation>
    </message>
    <message id="dlg.141.1041.label">
        <source>Select Port:</source>
        <translation>选择串口:</translation>
    </message>
    <message id="dlg.141.1">
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message id="dlg.141.2">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="dlg.142.caption">
        <source>Message Display</source>
        <translation>报文显示</translation>
    </message>
    <message id="dlg.142.1046">
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message id="dlg.142.1047">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="dlg.142.2">
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message id="dlg.142.1048.name">
        <source>Messages</source>
        <translation>报文</translation>
    </message>
    <message id="dlg.156.caption">
        <source>Link Statistics</source>
        <translation>链路统计</translation>
    </message>
    <message id="dlg.156.1057.label">
        <source>Cycles:</source>
        <translation>周期数:</translation>
    </message>
    <message id="dlg.156.1058.label">
        <source>Answered:</source>
        <translation>已应答:</translation>
    </message>
    <message id="dlg.156.1059.label">
        <source>No answer:</source>
        <translation>无应答:</translation>
    </message>
    <message id="dlg.156.1060.label">
        <source>Broken answers:</source>
        <translation>损坏的应答:</translation>
    </message>
    <message id="dlg.156.1061.label">
        <source>Error answers:</source>
        <translation>错误应答:</translation>
    </message>
    <message id="dlg.156.1062.label">
        <source>Bytes set aside:</source>
        <translation>搁置的字节数:</translation>
    </message>
    <message id="dlg.156.1063.label">
        <source>Last cycle period (ms):</source>
        <translation>最近周期 (毫秒):</translation>
    </message>
    <message id="dlg.156.1064.label">
        <source>Mean cycle period (ms):</source>
        <translation>平均周期 (毫秒):</translation>
    </message>
    <message id="dlg.156.1065.label">
        <source>Slowest cycle period (ms):</source>
        <translation>最长周期 (毫秒):</translation>
    </message>
</context>
</TS>
