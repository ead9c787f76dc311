<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>QXmlStream</name>
    <message>
        <source>Expected character data.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>velquo-bank</name>
    <message>
        <source>用法：
  velquo-bank build 题目表 db.DLL [--sheet 工作表名] [--password 密码 | --no-password]
  velquo-bank export db.DLL [表名] [--password 密码 | --no-password]
  velquo-bank check db.DLL [--settings opt.ini] [--password 密码 | --no-password]
build 由题目表生成题库。题目表是 CSV 文件（UTF-8、GBK 或 UTF-16 编码，逗号或制表符
分隔）或 .xlsx 工作簿（读第一个工作表，或 --sheet 指定的工作表），要有“编号”（可省略）、
“题目”和“答案”三列，顺序不限；可以再有“图片”“答案图片”“声音”（题库旁边“题库素材”
文件夹中的文件名）、“时间”（秒）和“分值”（整数）列，其他列不读入。db.DLL 处原有的文件
在新题库写好后保留为 db.DLL.bak。
export 把表导出为 CSV；check 像放映程序一样打开题库并逐题检查，放映会出错时退出码为 1。
check 还按放映程序的设置文件（题库旁边的 opt.ini，或 --settings 指定的文件）把每道题
和答案排在屏幕上（每英寸 96 点），指出答案会超出 1080 行高的屏幕下边的题。
不加 --password 或 --no-password 时，密码是 fmrTK20914。
</source>
        <translation>Usage:
  velquo-bank build QUESTIONS db.DLL [--sheet SHEET] [--password PASSWORD | --no-password]
  velquo-bank export db.DLL [TABLE] [--password PASSWORD | --no-password]
  velquo-bank check db.DLL [--settings opt.ini] [--password PASSWORD | --no-password]
build makes a question bank from a question list: a CSV file (UTF-8, GBK or UTF-16,
comma- or tab-separated) or an .xlsx workbook (its first worksheet, or the one --sheet
names) with the columns “编号” (number, may be left out), “题目” (question) and “答案”
(answer) in any order, and may have “图片” (picture), “答案图片” (answer picture) and
“声音” (clip), file names in the folder “题库素材” beside the bank, “时间” (seconds) and
“分值” (points, a whole number); other columns are not read. A file that stood at db.DLL
is kept as db.DLL.bak once the new bank is written.
export writes a table as CSV; check opens the bank as the presenter does and checks every
question; its exit status is 1 when the show would fail with the bank.
check also lays every question and its answer out as the presenter's settings file places
them (opt.ini beside the bank, or the file --settings names; fonts at 96 dots per inch) and
names the questions whose answer would run below the bottom of a 1080-line screen.
Without --password or --no-password the password is fmrTK20914.
</translation>
    </message>
    <message>
        <source>velquo-bank: 没有 %1 这个选项
</source>
        <translation>velquo-bank: there is no option %1
</translation>
    </message>
    <message>
        <source>原来的 %1 已保留为 %2
</source>
        <translation>the old %1 was kept as %2
</translation>
    </message>
    <message>
        <source>%1：%2 道题，编号 %3 至 %4，%5 字节，用时 %6 毫秒
</source>
        <translation>%1: %2 questions, numbers %3 to %4, %5 bytes, %6 ms
</translation>
    </message>
    <message>
        <source>是/否</source>
        <translation>Yes/No</translation>
    </message>
    <message>
        <source>字节</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>整型</source>
        <translation>Integer</translation>
    </message>
    <message>
        <source>长整型</source>
        <translation>Long Integer</translation>
    </message>
    <message>
        <source>货币</source>
        <translation>Currency</translation>
    </message>
    <message>
        <source>单精度型</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>双精度型</source>
        <translation>Double</translation>
    </message>
    <message>
        <source>日期/时间</source>
        <translation>Date/Time</translation>
    </message>
    <message>
        <source>二进制</source>
        <translation>Binary</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>OLE 对象</source>
        <translation>OLE Object</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>同步复制 ID</source>
        <translation>Replication ID</translation>
    </message>
    <message>
        <source>小数</source>
        <translation>Decimal</translation>
    </message>
    <message>
        <source>类型 %1</source>
        <translation>type %1</translation>
    </message>
    <message>
        <source>无法写出导出的内容</source>
        <translation>cannot write the exported data</translation>
    </message>
    <message>
        <source>密码中有“;”，无法写进连接字符串</source>
        <translation>the password contains “;”, which the connection string cannot carry</translation>
    </message>
    <message>
        <source>密码的开头或结尾有空白，无法写进连接字符串</source>
        <translation>the password begins or ends with a blank, which the connection string cannot carry</translation>
    </message>
    <message>
        <source>密码两端是引号，无法写进连接字符串</source>
        <translation>the password is enclosed in quotes, which the connection string cannot carry</translation>
    </message>
    <message>
        <source>%1：路径中有“;”，无法写进连接字符串</source>
        <translation>%1: the path contains “;”, which the connection string cannot carry</translation>
    </message>
    <message>
        <source>……（共 %1 个）</source>
        <translation>… (%1 in all)</translation>
    </message>
    <message>
        <source>无法创建 %1：%2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>无法把原来的 %1 保留为 %2，什么都没有改动</source>
        <translation>cannot keep the old %1 as %2; nothing was changed</translation>
    </message>
    <message>
        <source>无法写入 %1，原来的题库没有改动</source>
        <translation>cannot write %1; the old bank was not changed</translation>
    </message>
    <message>
        <source>无法写入 %1：原来的题库保留为 %2，新的题库在 %3</source>
        <translation>cannot write %1: the old bank is kept as %2, the new one is %3</translation>
    </message>
    <message>
        <source>文字中有空字符（代码 0），题库里存不下这个字符</source>
        <translation>the text contains a null character (code 0), which the bank cannot store</translation>
    </message>
    <message>
        <source>文字以 U+FEFF（看不见的字节顺序标记）开头，又含有“%1”（U+%2）；题库无法把这两者存在一起而让每个读取程序都读回原样：请删掉开头的标记</source>
        <translation>the text begins with U+FEFF (an invisible byte order mark) and also contains “%1” (U+%2); the bank cannot store both so that every reader reads them back as written: delete the mark at the beginning</translation>
    </message>
    <message>
        <source>%1：生成的题库会覆盖它自己的题目表</source>
        <translation>%1: the bank would overwrite its own question list</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>要读入其他工作表，请用 --sheet 指定工作表名</source>
        <translation>to read another worksheet, name it with --sheet</translation>
    </message>
    <message>
        <source>%1：标题行后面没有题目</source>
        <translation>%1: there are no questions after the header row</translation>
    </message>
    <message>
        <source>%1：%2是空的</source>
        <translation>%1: %2 is empty</translation>
    </message>
    <message>
        <source>%1：%2“%3”不是 -2147483648 到 2147483647 之间的整数</source>
        <translation>%1: %2 “%3” is not a whole number from -2147483648 to 2147483647</translation>
    </message>
    <message>
        <source>%1：%2 %3 已在%4用过</source>
        <translation>%1: %2 %3 is already used in %4</translation>
    </message>
    <message>
        <source>%1，%2列：%3</source>
        <translation>%1, column %2: %3</translation>
    </message>
    <message>
        <source>%1：%2有 %3 字节（UTF-8），放映程序最多只能显示 %4 字节</source>
        <translation>%1: %2 has %3 bytes (UTF-8); the presenter shows at most %4 bytes</translation>
    </message>
    <message>
        <source>已检查 %1 / %2 道题</source>
        <translation>checked %1 / %2 questions</translation>
    </message>
    <message>
        <source>正在把 %1 道题写入 %2</source>
        <translation>writing %1 questions to %2</translation>
    </message>
    <message>
        <source>%1：数据库的目录表中没有 Name 或 Type 列</source>
        <translation>%1: the database catalog has no Name or Type column</translation>
    </message>
    <message>
        <source>%1：请指定要导出的表（文件中的表：%2）</source>
        <translation>%1: name the table to export (tables in the file: %2)</translation>
    </message>
    <message>
        <source>velquo-bank: %1列是%2类型，这一列的值没有导出
</source>
        <translation>velquo-bank: column %1 is of type %2; its values were not exported
</translation>
    </message>
    <message>
        <source>结论：可以用这个题库放映（共 %1 道题）</source>
        <translation>Verdict: the show can run with this bank (%1 questions)</translation>
    </message>
    <message>
        <source>结论：用这个题库放映会出错</source>
        <translation>Verdict: the show would fail with this bank</translation>
    </message>
    <message>
        <source>注意：</source>
        <translation>Warning: </translation>
    </message>
    <message>
        <source>问题：</source>
        <translation>Problem: </translation>
    </message>
    <message>
        <source>无法连接题库：%1（放映程序启动时会弹出错误框，每次出题都只显示%2）</source>
        <translation>cannot connect to the bank: %1 (the presenter shows an error box at its start, and every question shows only %2)</translation>
    </message>
    <message>
        <source>查询失败：%1（文件中的表：%2）</source>
        <translation>the query failed: %1 (tables in the file: %2)</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>（放映时只能抽到读得出来的那些行）</source>
        <translation> (the show can draw only the rows that can be read)</translation>
    </message>
    <message>
        <source>（每道题都抽得到；用 export 和 build 重做一个题库可以改正）</source>
        <translation> (every question can be drawn; a bank made again with export and build mends it)</translation>
    </message>
    <message>
        <source>%1：“%2”表，%3 行；列：%4</source>
        <translation>%1: table “%2”, %3 rows; columns: %4</translation>
    </message>
    <message>
        <source>表中一行也没有：每次出题都只显示%1</source>
        <translation>the table has no rows: every question shows only %1</translation>
    </message>
    <message>
        <source>%1 行的%2是空的（第一处在第 %3 行）</source>
        <translation>%1 rows have an empty %2 (the first in row %3)</translation>
    </message>
    <message>
        <source>读取%1时在第 %2 行出错（“%3”）；放映时只能从 %4 行中抽到 %5 行</source>
        <translation>reading %1 failed in row %2 (“%3”); the show can draw only %5 of the %4 rows</translation>
    </message>
    <message>
        <source>可抽到的%1从 %2 到 %3</source>
        <translation>the %1 that can be drawn run from %2 to %3</translation>
    </message>
    <message>
        <source>%1（第 %2 行）</source>
        <translation>%1 (rows %2)</translation>
    </message>
    <message>
        <source>有几行共用一个%1（抽到这个%1时只显示其中第一行，其余几行永远不会出现）：%2</source>
        <translation>several rows share one %1 (drawing that %1 shows only the first of them; the others never appear): %2</translation>
    </message>
    <message>
        <source>已取出 %1 / %2 道题</source>
        <translation>fetched %1 / %2 questions</translation>
    </message>
    <message>
        <source>%1 次取题中有 %2 次出错（“%4”），屏幕上只会显示%3：%5 %6</source>
        <translation>%2 of %1 fetches failed (“%4”); the screen would show only %3: %5 %6</translation>
    </message>
    <message>
        <source>%1 道题的%2读不出来（“%3”），屏幕上会留着上一道题的题目和答案：%4 %5</source>
        <translation>the %2 of %1 questions cannot be read (“%3”); the screen would keep the previous question and answer: %4 %5</translation>
    </message>
    <message>
        <source>%1 道题的%2读不出来（“%3”），揭晓时会显示上一道题的答案：%4 %5</source>
        <translation>the %2 of %1 questions cannot be read (“%3”); the reveal would show the previous question’s answer: %4 %5</translation>
    </message>
    <message>
        <source>%1 道题的%2是空的：%3 %4</source>
        <translation>%1 questions have an empty %2: %3 %4</translation>
    </message>
    <message>
        <source>%1 道题的文字有 %2 字节或更长，显示时会被截断：%3 %4</source>
        <translation>the texts of %1 questions have %2 bytes or more and would show cut off: %3 %4</translation>
    </message>
    <message>
        <source>文件标明是 UTF-16 编码，字节数却是奇数（文件不完整？）</source>
        <translation>the file says it is UTF-16, but its length is an odd number of bytes (is the file complete?)</translation>
    </message>
    <message>
        <source>%1：这是%2%3</source>
        <translation>%1: this is%2%3</translation>
    </message>
    <message>
        <source>%1：没有标题行（第一行应为 %2,%3,%4）</source>
        <translation>%1: there is no header row (the first row should be %2,%3,%4)</translation>
    </message>
    <message>
        <source>%1：“%2”列出现了两次</source>
        <translation>%1: column “%2” appears twice</translation>
    </message>
    <message>
        <source>%1：标题行要有“%2”和“%3”两列（“%4”列可有可无），现在的标题行是：%5</source>
        <translation>%1: the header row must have the columns “%2” and “%3” (column “%4” may be left out); the header row is: %5</translation>
    </message>
    <message>
        <source>%1 列</source>
        <translation>column %1</translation>
    </message>
    <message>
        <source>第 %1 列</source>
        <translation>column %1</translation>
    </message>
    <message>
        <source>%1：有 %2 列，标题行却有 %3 列</source>
        <translation>%1: %2 columns, but the header row has %3</translation>
    </message>
    <message>
        <source>无法打开 %1：%2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>第 %1 行</source>
        <translation>row %1</translation>
    </message>
    <message>
        <source>“%1”不是秒数：要写 1 到 %2 之间的整数（如 30）</source>
        <translation>“%1” is not a number of seconds: write a whole number from 1 to %2 (such as 30)</translation>
    </message>
    <message>
        <source>“%1”不是分值：要写 1 到 %2 之间的整数</source>
        <translation>“%1” is not a number of points: write a whole number from 1 to %2</translation>
    </message>
    <message>
        <source>%1 第 %2 行</source>
        <translation>%1, row %2</translation>
    </message>
    <message>
        <source>单元格中 %1 处写作 CR LF 的换行按一个换行（LF，Excel 和 WPS 在单元格中换行时写的就是它）读入</source>
        <translation>%1 line breaks written as CR LF inside cells were read as one line break each (LF, what Excel and WPS write for a line break in a cell)</translation>
    </message>
    <message>
        <source>xlsx 工作簿，工作表“%1”</source>
        <translation>xlsx workbook, worksheet “%1”</translation>
    </message>
    <message>
        <source>CSV 文件，%1 编码，%2</source>
        <translation>CSV file, %1, %2</translation>
    </message>
    <message>
        <source>制表符分隔</source>
        <translation>tab-separated</translation>
    </message>
    <message>
        <source>逗号分隔</source>
        <translation>comma-separated</translation>
    </message>
    <message>
        <source>没有读入的列：%1</source>
        <translation>columns not read: %1</translation>
    </message>
    <message>
        <source>略过了 %1 个空行</source>
        <translation>skipped %1 empty rows</translation>
    </message>
    <message>
        <source>%1：文字不是有效的 UTF-8（文件开头却有 UTF-8 字节顺序标记）</source>
        <translation>%1: the text is not valid UTF-8 (although the file begins with a UTF-8 byte order mark)</translation>
    </message>
    <message>
        <source>带 BOM 的 UTF-8</source>
        <translation>UTF-8 with BOM</translation>
    </message>
    <message>
        <source>%1：文字既不是 UTF-8 也不是 GBK 编码；请在 Excel 或 WPS 中把题目表另存为 CSV（UTF-8）或 .xlsx</source>
        <translation>%1: the text is neither UTF-8 nor GBK; in Excel or WPS save the question list as CSV (UTF-8) or .xlsx</translation>
    </message>
    <message>
        <source>有密码的工作簿：请在 Excel 或 WPS 中去掉密码，另存为 .xlsx 或 CSV</source>
        <translation>a workbook with a password: remove the password in Excel or WPS and save it as .xlsx or CSV</translation>
    </message>
    <message>
        <source>旧版 .xls 工作簿：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV</source>
        <translation>an old .xls workbook: save it as .xlsx or CSV in Excel or WPS</translation>
    </message>
    <message>
        <source>旧版 Word 文档（.doc），不是表格：请把题目放进 Excel 或 WPS 表格，另存为 .xlsx 或 CSV</source>
        <translation>an old Word document (.doc), not a table: put the questions in an Excel or WPS spreadsheet and save it as .xlsx or CSV</translation>
    </message>
    <message>
        <source>PowerPoint 演示文稿，不是表格</source>
        <translation>a PowerPoint presentation, not a table</translation>
    </message>
    <message>
        <source>旧版 Office 文件，不是表格：请在 Excel 或 WPS 中把题目表另存为 .xlsx 或 CSV</source>
        <translation>an old Office file, not a table: in Excel or WPS save the question list as .xlsx or CSV</translation>
    </message>
    <message>
        <source>图片（PNG），不是表格</source>
        <translation>a picture (PNG), not a table</translation>
    </message>
    <message>
        <source>图片（JPEG），不是表格</source>
        <translation>a picture (JPEG), not a table</translation>
    </message>
    <message>
        <source>图片（GIF），不是表格</source>
        <translation>a picture (GIF), not a table</translation>
    </message>
    <message>
        <source>图片（BMP），不是表格</source>
        <translation>a picture (BMP), not a table</translation>
    </message>
    <message>
        <source>图片（WebP），不是表格</source>
        <translation>a picture (WebP), not a table</translation>
    </message>
    <message>
        <source>图片（TIFF），不是表格</source>
        <translation>a picture (TIFF), not a table</translation>
    </message>
    <message>
        <source>PDF 文档，不是表格</source>
        <translation>a PDF document, not a table</translation>
    </message>
    <message>
        <source>RTF 文档，不是表格</source>
        <translation>an RTF document, not a table</translation>
    </message>
    <message>
        <source>Access 数据库（本身就是题库？），不是题目表：可以用“velquo-bank export”导出其中的题目</source>
        <translation>an Access database (a bank itself?), not a question list: “velquo-bank export” exports its questions</translation>
    </message>
    <message>
        <source>压缩包，不是表格</source>
        <translation>a compressed archive, not a table</translation>
    </message>
    <message>
        <source>网页或 XML 文件，不是表格：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV</source>
        <translation>a web page or XML file, not a table: save it as .xlsx or CSV in Excel or WPS</translation>
    </message>
    <message>
        <source>%1：没有用引号括起来的单元格中出现了引号（含有引号的单元格要整个用引号括起来，其中的引号写成两个）</source>
        <translation>%1: a quote in a cell not enclosed in quotes (a cell holding quotes must be enclosed in quotes as a whole, with its quotes doubled)</translation>
    </message>
    <message>
        <source>%1：单元格的结束引号后面还有文字</source>
        <translation>%1: text after the closing quote of a cell</translation>
    </message>
    <message>
        <source>%1：用引号括起来的单元格缺少结束引号</source>
        <translation>%1: a quoted cell has no closing quote</translation>
    </message>
    <message>
        <source>%1：文字不是有效的 UTF-8</source>
        <translation>%1: the text is not valid UTF-8</translation>
    </message>
    <message>
        <source>%1：工作表“%2”是空的</source>
        <translation>%1: worksheet “%2” is empty</translation>
    </message>
    <message>
        <source>工作簿中的其他工作表没有读入：%1</source>
        <translation>other worksheets of the workbook were not read: %1</translation>
    </message>
    <message>
        <source>%1：--sheet 只用于 .xlsx 工作簿，这是 CSV 文件</source>
        <translation>%1: --sheet is only for .xlsx workbooks; this is a CSV file</translation>
    </message>
    <message>
        <source>%1：无法读取工作簿（%2）；请在 Excel 或 WPS 中打开后重新保存</source>
        <translation>%1: cannot read the workbook (%2); open it in Excel or WPS and save it again</translation>
    </message>
    <message>
        <source>不是可以读取的 zip 文件</source>
        <translation>not a zip file that can be read</translation>
    </message>
    <message>
        <source>缺少 %1</source>
        <translation>%1 is missing</translation>
    </message>
    <message>
        <source>%1 太大</source>
        <translation>%1 is too large</translation>
    </message>
    <message>
        <source>无法打开 %1</source>
        <translation>cannot open %1</translation>
    </message>
    <message>
        <source>%1 已损坏</source>
        <translation>%1 is damaged</translation>
    </message>
    <message>
        <source>Word 文档，不是表格：请把题目放进 Excel 或 WPS 表格，另存为 .xlsx 或 CSV</source>
        <translation>a Word document, not a table: put the questions in an Excel or WPS spreadsheet and save it as .xlsx or CSV</translation>
    </message>
    <message>
        <source>二进制的 .xlsb 工作簿：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV</source>
        <translation>a binary .xlsb workbook: save it as .xlsx or CSV in Excel or WPS</translation>
    </message>
    <message>
        <source>OpenDocument 电子表格（.ods）：请另存为 .xlsx 或 CSV</source>
        <translation>an OpenDocument spreadsheet (.ods): save it as .xlsx or CSV</translation>
    </message>
    <message>
        <source>OpenDocument 文件，不是表格</source>
        <translation>an OpenDocument file, not a table</translation>
    </message>
    <message>
        <source>zip 压缩包，不是表格</source>
        <translation>a zip archive, not a table</translation>
    </message>
    <message>
        <source>xl/workbook.xml：%1</source>
        <translation>xl/workbook.xml: %1</translation>
    </message>
    <message>
        <source>其中没有工作表</source>
        <translation>it holds no worksheet</translation>
    </message>
    <message>
        <source>%1：工作簿中没有工作表“%2”（现有的工作表：%3）</source>
        <translation>%1: the workbook has no worksheet “%2” (its worksheets: %3)</translation>
    </message>
    <message>
        <source>单元格 %1%2 引用的共享字符串不存在</source>
        <translation>cell %1%2 names a missing shared string</translation>
    </message>
    <message>
        <source>工作表“%1”：%2</source>
        <translation>worksheet “%1”: %2</translation>
    </message>
    <message>
        <source>%1 个公式没有保存计算结果，按空白读入（第一个在第 %2 行）：请在 Excel 或 WPS 中打开工作簿后重新保存</source>
        <translation>%1 formulas have no saved result and were read as blank (the first in row %2): open the workbook in Excel or WPS and save it again</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 道题的文字中有制表符（表格的单元格分界），放映时显示为一段空白：%2 %3</source>
        <translation>the texts of %1 questions hold a tab (a spreadsheet’s cell boundary), which shows as a gap: %2 %3</translation>
    </message>
    <message>
        <source>%1 道题的文字以换行开头或结尾，放映时多出空行：%2 %3</source>
        <translation>the texts of %1 questions begin or end with a line break, which shows as an empty line: %2 %3</translation>
    </message>
    <message>
        <source>文件名“%1”中有换行或控制字符</source>
        <translation>the file name “%1” has a line break or a control character in it</translation>
    </message>
    <message>
        <source>“%1”不是%2文件夹中的文件名（文件名中不能有 &lt; &gt; : &quot; | ? *，也不能是完整路径）</source>
        <translation>“%1” is not the name of a file in the folder %2 (a file name cannot hold &lt; &gt; : &quot; | ? * and cannot be a full path)</translation>
    </message>
    <message>
        <source>“%1”是完整路径：要写%2文件夹中的文件名（如 图1.jpg）</source>
        <translation>“%1” is a full path: write the name of a file in the folder %2 (such as 图1.jpg)</translation>
    </message>
    <message>
        <source>“%1”指向%2文件夹以外：题库和素材文件夹要能一起复制，文件要放在文件夹里面</source>
        <translation>“%1” points outside the folder %2: the bank and its media folder are copied together, so the file must be inside the folder</translation>
    </message>
    <message>
        <source>文件名有 %1 个字符，题库的文本列最多存 %2 个</source>
        <translation>the file name has %1 characters; a text column of the bank holds at most %2</translation>
    </message>
    <message>
        <source>%1 %2 的%3：%4</source>
        <translation>%1 %2, %3: %4</translation>
    </message>
    <message>
        <source>题库旁边没有“%1”文件夹（%2）：题库中的 %3 个图片和声音文件都找不到</source>
        <translation>there is no folder “%1” beside the bank (%2): none of the %3 pictures and clips the bank names can be found</translation>
    </message>
    <message>
        <source>题库中有 %1 个图片和声音文件，在“%2”文件夹中查看了每一个</source>
        <translation>the bank names %1 pictures and clips; each was looked at in the folder “%2”</translation>
    </message>
    <message>
        <source>内容是 %1 图片，扩展名却是 .%2</source>
        <translation>it holds a %1 picture, but its extension is .%2</translation>
    </message>
    <message>
        <source>%1 × %2 像素，解码要 %3 MB；放映程序最多解码 %4 MB 的图片（32 位像素，约 %5 百万像素），更大的图片不会显示</source>
        <translation>%1 × %2 pixels, %3 MB decoded; the presenter decodes pictures of at most %4 MB (32-bit pixels, about %5 megapixels) and does not show a larger one</translation>
    </message>
    <message>
        <source>内容不是 WAV、MP3、OGG、FLAC 或 M4A 声音</source>
        <translation>it holds no WAV, MP3, OGG, FLAC or M4A sound</translation>
    </message>
    <message>
        <source>长 %1，解码成 16 位采样有 %2 MB，超过 %3 MB（CD 音质约 10 分钟）：放映程序要先把整段声音解码成一份副本才开始播放</source>
        <translation>%1 long, %2 MB as 16-bit samples, more than %3 MB (about 10 minutes at CD quality): the presenter decodes a whole clip into a copy before it starts playing it</translation>
    </message>
    <message>
        <source>文件说声音长 %1，却只解码出 %2（文件不完整？）</source>
        <translation>the file says the clip is %1 long, but only %2 of it decodes (is the file complete?)</translation>
    </message>
    <message>
        <source>%1文件夹中没有这个文件</source>
        <translation>the folder %1 has no such file</translation>
    </message>
    <message>
        <source>这是一个文件夹，不是文件</source>
        <translation>this is a folder, not a file</translation>
    </message>
    <message>
        <source>这不是普通文件（是管道、设备之类），放映程序不会打开它</source>
        <translation>this is not a regular file (a pipe, a device or the like); the presenter does not open it</translation>
    </message>
    <message>
        <source>无法打开：%1</source>
        <translation>cannot open it: %1</translation>
    </message>
    <message>
        <source>不是放映程序能显示的图片：%1</source>
        <translation>not a picture the presenter can show: %1</translation>
    </message>
    <message>
        <source>不是放映程序能播放的声音：%1</source>
        <translation>not a clip the presenter can play: %1</translation>
    </message>
    <message>
        <source>图片已损坏，只能显示读得出来的部分：%1</source>
        <translation>the picture is damaged; only the part that can be read shows: %1</translation>
    </message>
    <message>
        <source>声音只能播放一部分：%1</source>
        <translation>only part of the clip can be played: %1</translation>
    </message>
    <message>
        <source>太大：%1</source>
        <translation>too large: %1</translation>
    </message>
    <message>
        <source>%1 %2 的%3“%4”：%5</source>
        <translation>%1 %2, %3 “%4”: %5</translation>
    </message>
    <message>
        <source>%1 张图片不在题目所在的行上，没有读入</source>
        <translation>%1 pictures are not on a question's row and were not read</translation>
    </message>
    <message>
        <source>从工作簿中取出 %1 张图片，放进了 %2</source>
        <translation>took %1 pictures out of the workbook into %2</translation>
    </message>
    <message>
        <source>%1 张图片所在的单元格已写有文件名，按单元格中的名字读入</source>
        <translation>the cells of %1 pictures already name a file; the names in the cells were taken</translation>
    </message>
    <message>
        <source>无法创建文件夹 %1</source>
        <translation>cannot create the folder %1</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>工作簿中有 %1 张图片只有位置，缺少图片本身，没有读入</source>
        <translation>the workbook places %1 pictures it does not hold; they were not read</translation>
    </message>
    <message>
        <source>等</source>
        <translation> and more</translation>
    </message>
    <message>
        <source>有 %1 道题的题目太长，答案会超出 %2 行高的屏幕下边：%3 %4（题目宽 %5 像素、字号 %6）</source>
        <translation>%1 questions are so long that their answer would run below the bottom of a %2-line screen: %3 %4 (questions %5 pixels wide, %6 points)</translation>
    </message>
    <message>
        <source>没有找到放映程序的设置文件 %1，没有检查答案是否超出屏幕</source>
        <translation>the presenter's settings file %1 was not found; answers running off the screen were not looked for</translation>
    </message>
    <message>
        <source>按 %1 的题目和答案的位置、宽度和字号（每英寸 %2 点）检查了答案是否超出 %3 行高的屏幕</source>
        <translation>every answer was laid out below its question by the places, widths and sizes in %1 (fonts at %2 dots per inch) and looked for below a %3-line screen</translation>
    </message>
    <message>
        <source>%1，没有检查答案是否超出屏幕</source>
        <translation>%1; answers running off the screen were not looked for</translation>
    </message>
    <message>
        <source>%1 中没有 %2</source>
        <translation>%1 has no %2</translation>
    </message>
    <message>
        <source>%1 中 %2 的值“%3”不是整数</source>
        <translation>in %1, %2 is “%3”, not a whole number</translation>
    </message>
</context>
</TS>
