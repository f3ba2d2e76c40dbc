"""The HTML pages of the evaluation set. Each has a name, the language profile it is read with
("en": English, "zh": Chinese with English), a theme, a font size in pixels and a window size."""
T, B, BTN, CHK, RAD, INP, FLD, LNK, PARA = ("text", "bold", "button", "check", "radio", "input",
                                            "field", "link", "para")


def cells(*c):
    return ("cells", list(c))


def head(*c):
    return ("head", list(c))


PAGES = [
    dict(name="settings_en", lang="en", theme="grey", size=13, w=560, h=330,
         title="Display Settings", rows=[
             [(CHK, "Show hidden files", True), (CHK, "Use dark mode", False)],
             [(CHK, "Open links in a new window", True)],
             [(FLD, "Font size", "14 px")],
             [(FLD, "Language", "English (UK)")],
             [(RAD, "Small icons", True), (RAD, "Large icons", False)],
             [("gap",), (BTN, "OK"), (BTN, "Cancel"), (BTN, "Apply")]]),
    dict(name="settings_zh", lang="zh", theme="grey", size=14, w=560, h=330, label=100,
         title="常规设置", rows=[
             [(CHK, "开机时自动启动", True), (CHK, "显示托盘图标", False)],
             [(CHK, "关闭窗口时最小化到托盘", True)],
             [(FLD, "下载目录", "D:\\下载")],
             [(FLD, "界面语言", "简体中文")],
             [(RAD, "自动更新", True), (RAD, "手动更新", False)],
             [("gap",), (BTN, "确定"), (BTN, "取消"), (BTN, "应用")]]),
    dict(name="prices_en", lang="en", theme="light", size=13, w=600, h=300, cell=130,
         title="Order summary", rows=[
             [head("Item", "Quantity", "Unit price", "Total")],
             [cells("Paper A4", "12", "$4.99", "$59.88")],
             [cells("Ink cartridge", "3", "$27.50", "$82.50")],
             [cells("Stapler", "1", "$12.00", "$12.00")],
             [cells("Folders", "25", "$0.85", "$21.25")],
             [("gap",), (B, "Total: $175.63")]]),
    dict(name="prices_zh", lang="zh", theme="light", size=14, w=600, h=300, cell=130,
         title="订单明细", rows=[
             [head("商品", "数量", "单价", "金额")],
             [cells("苹果", "5", "¥3.50", "¥17.50")],
             [cells("牛奶", "2", "¥12.80", "¥25.60")],
             [cells("大米", "1", "¥59.00", "¥59.00")],
             [cells("鸡蛋", "12", "¥1.20", "¥14.40")],
             [("gap",), (B, "合计：¥116.50")]]),
    dict(name="paragraph_en", lang="en", theme="light", size=15, w=640, h=260, rows=[
        [(PARA, "Backups run every night at two o'clock. If the computer is asleep at that "
                "time, the backup starts as soon as it wakes up.")],
        [(PARA, "You can choose which folders to include. Large video files are skipped "
                "unless you turn on the option below.")]]),
    dict(name="paragraph_zh", lang="zh", theme="light", size=14, w=600, h=240, rows=[
        [(PARA, "系统将在每天凌晨两点自动备份您的文件。如果电脑处于睡眠状态，备份会在唤醒后立即开始。")],
        [(PARA, "您可以选择需要备份的文件夹，较大的视频文件默认不会备份。")]]),
    dict(name="menu_en", lang="en", theme="light", size=13, w=420, h=330, rows=[
        [("menu", ["File", "Edit", "View", "Help"])],
        [(T, "New window"), ("gap",), (T, "Ctrl+N")],
        [(T, "Open file..."), ("gap",), (T, "Ctrl+O")],
        [(T, "Save as..."), ("gap",), (T, "Ctrl+Shift+S")],
        [(T, "Print"), ("gap",), (T, "Ctrl+P")],
        [(T, "Recent files")],
        [(T, "Exit"), ("gap",), (T, "Alt+F4")]]),
    dict(name="menu_zh", lang="zh", theme="light", size=14, w=420, h=330, rows=[
        [("menu", ["文件", "编辑", "视图", "帮助"])],
        [(T, "新建窗口"), ("gap",), (T, "Ctrl+N")],
        [(T, "打开文件"), ("gap",), (T, "Ctrl+O")],
        [(T, "另存为"), ("gap",), (T, "Ctrl+S")],
        [(T, "打印"), ("gap",), (T, "Ctrl+P")],
        [(T, "最近使用的文件")],
        [(T, "退出"), ("gap",), (T, "Alt+F4")]]),
    dict(name="dark_en", lang="en", theme="dark", size=14, w=560, h=300,
         title="Notifications", rows=[
             [(CHK, "Play a sound for new messages", True)],
             [(CHK, "Show message previews", False)],
             [(FLD, "Quiet hours", "22:00 to 07:00")],
             [(T, "Last synced 5 minutes ago")],
             [("gap",), (BTN, "Save"), (BTN, "Close")]]),
    dict(name="dark_zh", lang="zh", theme="dark", size=14, w=560, h=300, label=100,
         title="消息通知", rows=[
             [(CHK, "新消息时播放提示音", True)],
             [(CHK, "显示消息内容预览", False)],
             [(FLD, "免打扰时段", "22:00 至 07:00")],
             [(T, "五分钟前已同步")],
             [("gap",), (BTN, "保存"), (BTN, "关闭")]]),
    dict(name="login_mixed", lang="zh", theme="grey", size=14, w=520, h=300, label=130,
         title="登录 Login", rows=[
             [(FLD, "用户名 Username", "zhang.wei")],
             [(FLD, "密码 Password", "********")],
             [(CHK, "记住我 Remember me", True)],
             [(LNK, "忘记密码？"), ("gap",), (BTN, "登录"), (BTN, "注册")]]),
    dict(name="notes_mixed", lang="zh", theme="light", size=14, w=620, h=250, rows=[
        [(PARA, "安装步骤：先下载 Python 3.11，然后运行 pip install requests 安装依赖。")],
        [(PARA, "如果出现 Permission denied 错误，请使用管理员权限重新打开终端。")],
        [(PARA, "版本 2.4.1 修复了 Windows 10 上的闪退问题。")]]),
    dict(name="invoice_en", lang="en", theme="light", size=12, w=560, h=320, cell=120,
         title="Invoice 2024-0187", rows=[
             [(T, "Bill to: Northwind Traders, 42 Harbour Street")],
             [head("Service", "Hours", "Rate", "Amount")],
             [cells("Design", "14", "85.00", "1,190.00")],
             [cells("Testing", "6.5", "70.00", "455.00")],
             [cells("Support", "3", "60.00", "180.00")],
             [("gap",), (T, "Subtotal 1,825.00")],
             [("gap",), (B, "Amount due EUR 2,171.75")]]),
    dict(name="form_en", lang="en", theme="light", size=14, w=540, h=300,
         title="Contact details", rows=[
             [(FLD, "Name", "Maria Lopez")],
             [(FLD, "Email", "maria@example.org")],
             [(FLD, "Phone", "+44 20 7946 0958")],
             [(CHK, "Send me the newsletter", False)],
             [("gap",), (BTN, "Submit")]]),
    dict(name="buttons_zh", lang="zh", theme="grey", size=14, w=480, h=170, rows=[
        [(T, "是否保存对文档的修改？")],
        [(BTN, "保存"), (BTN, "不保存"), ("gap",), (BTN, "确认"), (BTN, "取消")]]),
    dict(name="files_zh", lang="zh", theme="light", size=13, w=620, h=300, cell=140,
         rows=[
             [head("名称", "修改日期", "类型", "大小")],
             [cells("年度报告", "2024/03/12", "文档", "245 KB")],
             [cells("照片备份", "2024/02/28", "文件夹", "")],
             [cells("会议记录", "2024/01/05", "文档", "18 KB")],
             [cells("预算表", "2023/12/30", "表格", "1.2 MB")],
             [(T, "共 4 项")]]),
    dict(name="inbox_en", lang="en", theme="light", size=13, w=640, h=280, cell=150,
         rows=[
             [head("From", "Subject", "Received")],
             [cells("Alice Chen", "Lunch on Friday", "09:14")],
             [cells("Build server", "Nightly build passed", "06:02")],
             [cells("Tom Baker", "Budget review", "Yesterday")],
             [cells("HR Team", "Holiday schedule", "Mon")],
             [(T, "4 messages, 1 unread")]]),
    dict(name="error_en", lang="en", theme="grey", size=13, w=480, h=190,
         title="Error", rows=[
             [(T, "The file could not be saved because the disk is full.")],
             [(T, "Free some space and try again.")],
             [("gap",), (BTN, "Retry"), (BTN, "Cancel")]]),
    dict(name="error_zh", lang="zh", theme="grey", size=14, w=480, h=190,
         title="错误", rows=[
             [(T, "无法保存文件，磁盘空间不足。")],
             [(T, "请释放部分空间后重试。")],
             [("gap",), (BTN, "重试"), (BTN, "取消")]]),
    dict(name="status_en", lang="en", theme="grey", size=16, w=520, h=280,
         title="System status", rows=[
             [(T, "CPU usage"), ("gap",), (T, "37%")],
             [(T, "Memory"), ("gap",), (T, "5.2 GB of 16 GB")],
             [(T, "Disk"), ("gap",), (T, "118 GB free")],
             [(T, "Uptime"), ("gap",), (T, "3 days 4 hours")]]),
    dict(name="tabs_zh", lang="zh", theme="light", size=12, w=520, h=260, label=80,
         rows=[
             [("tabs", ["常规", "网络", "安全", "高级"], 1)],
             [(FLD, "代理地址", "127.0.0.1")],
             [(FLD, "端口", "8080")],
             [(CHK, "对本地地址不使用代理", True)],
             [("gap",), (BTN, "确定"), (BTN, "取消")]]),
    dict(name="stocks_en", lang="en", theme="dark", size=12, w=560, h=260, cell=110,
         rows=[
             [head("Symbol", "Price", "Change", "Volume")],
             [cells("ACME", "152.30", "+1.25%", "1,204,500")],
             [cells("GLOBX", "48.07", "-0.62%", "865,210")],
             [cells("INITECH", "9.84", "+3.10%", "2,310,000")],
             [cells("UMBRA", "301.15", "-2.04%", "412,090")]]),
]
