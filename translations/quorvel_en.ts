<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
<context>
    <name>Card</name>
    <message>
        <source> 區塊 %1 寫入後讀回的資料不符, 已停止. </source>
        <translation>Block %1 did not read back as it was written. Stopped.</translation>
    </message>
    <message>
        <source>連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..). </source>
        <translation>Link error! (Switch automatic refresh off first, then check the speed setting, the power and the cable.)</translation>
    </message>
    <message>
        <source>連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..).  </source>
        <translation>Link error while writing! (Switch automatic refresh off first, then check the speed setting, the power and the cable.)</translation>
    </message>
    <message>
        <source> 檔案 %1 是唯讀檔案, 不能寫入. </source>
        <translation>File %1 is read-only and cannot be written.</translation>
    </message>
    <message>
        <source> BMP 檔案類型必須是 32 x 32 像素, 256 調色板和 8-bits 格式.</source>
        <translation>The BMP picture must be 32 x 32 pixels, 8 bits with a 256-colour palette.</translation>
    </message>
    <message>
        <source>空間不足.</source>
        <translation>Not enough free blocks.</translation>
    </message>
    <message>
        <source> 檔案 : %1 的格式並不支援!!!! </source>
        <translation>File %1: this format is not supported!</translation>
    </message>
    <message>
        <source> 檔案 : %1 的格式並不支援 !!!! </source>
        <translation>File %1: this format is not supported!</translation>
    </message>
    <message>
        <source> 檔案 : %1 是無效的! </source>
        <translation>File %1 is not valid!</translation>
    </message>
    <message>
        <source> 無法寫入變更記錄 (%1), 記憶卡沒有被改變. </source>
        <translation>The change log cannot be written (%1). The card was not changed.</translation>
    </message>
    <message>
        <source> 變更記錄檔 %1 已損壞 (%2), 已另存為 %3 , 不會被使用. </source>
        <translation>The change log %1 is damaged (%2). It was kept as %3 and will not be used.</translation>
    </message>
    <message>
        <source>      複製中...</source>
        <translation>      Copying...</translation>
    </message>
    <message>
        <source> 已取消, 記憶卡沒有被改變. </source>
        <translation>Cancelled. The card was not changed.</translation>
    </message>
    <message>
        <source> 已取消, 檔案沒有被寫入. </source>
        <translation>Cancelled. No file was written.</translation>
    </message>
    <message>
        <source> 已取消, 記憶卡上的存檔沒有被改變. </source>
        <translation>Cancelled. The saves on the card were not changed.</translation>
    </message>
    <message>
        <source> 已取消, 記憶卡已還原成原來的內容. </source>
        <translation>Cancelled. The card was put back as it was.</translation>
    </message>
    <message>
        <source> 已取消, 但記憶卡無法完全還原, 請用復原再試一次. </source>
        <translation>Cancelled, but the card could not be put back completely. Try Undo again.</translation>
    </message>
    <message>
        <source>記憶卡的根區塊無法讀取</source>
        <translation>the card&apos;s root block could not be read</translation>
    </message>
    <message>
        <source>區塊 %1 無法讀取</source>
        <translation>block %1 could not be read</translation>
    </message>
    <message>
        <source>無法讀取</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>由另一個版本寫入</source>
        <translation>written by another version</translation>
    </message>
    <message>
        <source>檔案不完整</source>
        <translation>cut short</translation>
    </message>
    <message>
        <source>內容錯誤</source>
        <translation>corrupt</translation>
    </message>
</context>
<context>
    <name>CodeWindow</name>
    <message>
        <source> 地址超值.</source>
        <translation>Address out of range.</translation>
    </message>
    <message>
        <source> 頁數1的 %1</source>
        <translation> Page 1 of %1</translation>
    </message>
    <message>
        <source> 頁數 %1 的 %2</source>
        <translation> Page %1 of %2</translation>
    </message>
    <message>
        <source> 檔案 %1 無法開啟: %2 </source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source> 檔案 %1 無法取得大小: %2 </source>
        <translation>Cannot take the size of %1: %2</translation>
    </message>
    <message>
        <source> 檔案 %1 無法定位: %2 </source>
        <translation>Cannot seek in %1: %2</translation>
    </message>
    <message>
        <source> 檔案 %1 無法讀取: %2 </source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>讀取時檔案變短了</source>
        <translation>the file became shorter while it was read</translation>
    </message>
    <message>
        <source> 檔案 %1 無法寫入: %2 </source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source> 沒有第 %1 頁, 只有 %2 頁. </source>
        <translation>There is no page %1; the code has %2 pages.</translation>
    </message>
    <message>
        <source> 沒有選擇指令. </source>
        <translation>No instruction is selected.</translation>
    </message>
    <message>
        <source> 這個指令需要 %1 個位元組. </source>
        <translation>This instruction needs %1 bytes.</translation>
    </message>
</context>
<context>
    <name>CommandTexts</name>
    <message>
        <source> 檔案 %1 不能讀取.</source>
        <translation>File %1 cannot be read.</translation>
    </message>
    <message>
        <source> 檔案 %1 不能寫入.</source>
        <translation>File %1 cannot be written.</translation>
    </message>
    <message>
        <source> 檔案 %1 不能開啟.</source>
        <translation>File %1 cannot be opened.</translation>
    </message>
    <message>
        <source> 工作資料夾不能建立: %1 </source>
        <translation>The working folder cannot be made: %1</translation>
    </message>
    <message>
        <source> 並列埠不能使用: %1 </source>
        <translation>The parallel port cannot be used: %1</translation>
    </message>
    <message>
        <source> 檔案 %1 在使用中 .</source>
        <translation>File %1 is in use.</translation>
    </message>
    <message>
        <source> 檔案 %1 不是已格式化的記憶卡.</source>
        <translation>File %1 is not a formatted memory card.</translation>
    </message>
    <message>
        <source> 檔案 %1 不是已格式化的記憶卡,是否仍要寫入插槽%2嗎? </source>
        <translation>File %1 is not a formatted memory card. Write it to slot %2 anyway?</translation>
    </message>
    <message>
        <source>記憶卡的結構已損壞, 不能寫入.</source>
        <translation>The card&apos;s structure is damaged; nothing is written to it.</translation>
    </message>
    <message>
        <source>不能複製</source>
        <translation>cannot be copied</translation>
    </message>
    <message>
        <source>不能加上</source>
        <translation>cannot be added</translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 空間不足.</source>
        <translation>%1 %2: not enough free blocks.</translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 遊戲必須放在第 0 區塊起, 但那裡已被使用.</source>
        <translation>%1 %2: a game must start at block 0, and those blocks are in use.</translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 記憶卡的目錄已滿.</source>
        <translation>%1 %2: the card&apos;s directory is full.</translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 記憶卡沒有格式化.</source>
        <translation>%1 %2: the card is not formatted.</translation>
    </message>
    <message>
        <source> 檔案 %1 %2: %3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source> 檔案 %1 已加上, 但舊的同名檔案不能刪除.</source>
        <translation>%1 was added, but the old save of that name could not be deleted.</translation>
    </message>
    <message>
        <source> 檔案 %1 不完整.</source>
        <translation>File %1 is incomplete.</translation>
    </message>
    <message>
        <source> 檔案 %1 的目錄資料無效, 不能加上.</source>
        <translation>File %1 has an invalid directory entry and cannot be added.</translation>
    </message>
    <message>
        <source> 檔案 %1 不能尋找.</source>
        <translation>File %1 cannot be found.</translation>
    </message>
    <message>
        <source> 檔案 %1 的大小不是 1 到 255 個完整的 Block.</source>
        <translation>The size of file %1 is not 1 to 255 whole blocks.</translation>
    </message>
    <message>
        <source> 檔案 %1 的大小與它的 VMS 檔案不符.</source>
        <translation>The size in file %1 does not match its VMS file.</translation>
    </message>
    <message>
        <source> 檔案 %1 的名稱與它的 VMS 檔案不符.</source>
        <translation>The name in file %1 does not match its VMS file.</translation>
    </message>
    <message>
        <source> 檔案 %1 不能分辨是遊戲或資料.</source>
        <translation>File %1: cannot tell whether it is a game or data.</translation>
    </message>
    <message>
        <source> 單元名稱必須是 1 到 12 個字元.</source>
        <translation>A save name has 1 to 12 characters.</translation>
    </message>
    <message>
        <source> 檔案 %1 的名稱太長, VMS 檔案名稱最多 8 個字元.</source>
        <translation>The name of file %1 is too long: a VMS file name has at most 8 characters.</translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 目錄資料無效.</source>
        <translation>%1 %2: its directory entry is not valid.</translation>
    </message>
</context>
<context>
    <name>HexEditor</name>
    <message>
        <source>Pos : %1</source>
        <translation>Pos : %1</translation>
    </message>
    <message>
        <source>Sel : %1 - %2</source>
        <translation>Sel : %1 - %2</translation>
    </message>
    <message>
        <source>Size : %1</source>
        <translation>Size : %1</translation>
    </message>
    <message>
        <source>Byte changed</source>
        <translation>Byte changed</translation>
    </message>
    <message>
        <source>Byte(s) removed</source>
        <translation>Byte(s) removed</translation>
    </message>
    <message>
        <source>Insert buffer</source>
        <translation>Insert buffer</translation>
    </message>
    <message>
        <source>Replace selection</source>
        <translation>Replace selection</translation>
    </message>
    <message>
        <source>Append buffer</source>
        <translation>Append buffer</translation>
    </message>
    <message>
        <source>Insert nibble</source>
        <translation>Insert nibble</translation>
    </message>
    <message>
        <source>Delete nibble</source>
        <translation>Delete nibble</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>No Undo</source>
        <translation>No Undo</translation>
    </message>
</context>
<context>
    <name>quorvel::CardHistoryWindow</name>
    <message>
        <source>記憶卡變更記錄</source>
        <translation>Card history</translation>
    </message>
    <message>
        <source>編號</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>日期時間</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>動作</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>存檔</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>復原到這個動作之前</source>
        <translation>Put back as before this command</translation>
    </message>
    <message>
        <source>關閉</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>未完成</source>
        <translation>Unfinished</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>格式化</source>
        <translation>format</translation>
    </message>
    <message>
        <source>複製</source>
        <translation>copy</translation>
    </message>
    <message>
        <source>加上</source>
        <translation>import</translation>
    </message>
    <message>
        <source>刪除</source>
        <translation>delete</translation>
    </message>
    <message>
        <source>上載</source>
        <translation>restore</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>edit</translation>
    </message>
    <message>
        <source>寫入區塊</source>
        <translation>write block</translation>
    </message>
    <message>
        <source>復原</source>
        <translation>undo</translation>
    </message>
    <message>
        <source> %1 沒有變更記錄. </source>
        <translation>%1 has no recorded changes.</translation>
    </message>
    <message>
        <source> %1 的變更記錄: </source>
        <translation>Changes recorded for %1:</translation>
    </message>
</context>
<context>
    <name>quorvel::FileDialogs</name>
    <message>
        <source>單元名稱</source>
        <translation>Save name</translation>
    </message>
</context>
<context>
    <name>quorvel::SaveRows</name>
    <message>
        <source>單元名稱: %1
記憶卡說明: %2
主機說明: %3
%4 Blocks
%5   %6</source>
        <translation>Name: %1
VMU description: %2
Console description: %3
%4 blocks
%5   %6</translation>
    </message>
    <message>
        <source>遊戲</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>資料</source>
        <translation>Data</translation>
    </message>
</context>
<context>
    <name>quorvel::SaveRowsModel</name>
    <message>
        <source>單元名稱</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>記憶卡說明</source>
        <translation>VMU description</translation>
    </message>
    <message>
        <source>主機說明</source>
        <translation>Console description</translation>
    </message>
    <message>
        <source>類型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>Blocks</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
</context>
<context>
    <name>quorvel::TDelete_Form</name>
    <message>
        <source>刪除單元...</source>
        <translation>Delete save...</translation>
    </message>
    <message>
        <source>刪除單元</source>
        <translation>Delete save</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>quorvel::TForm1</name>
    <message>
        <source>沒有選擇單元</source>
        <translation>No save selected</translation>
    </message>
    <message>
        <source> 檔案 :</source>
        <translation>File: </translation>
    </message>
    <message>
        <source> 圖示名稱的字元 %1 不能儲存在記憶卡上 (只可用英文字母, 數字和西歐字元), 圖示沒有加上. </source>
        <translation>The characters %1 of the icon name cannot be stored on a card (only letters, digits and Western European characters). The icon was not added.</translation>
    </message>
    <message>
        <source> 儲存 %1 己存在,是否要取代它嗎? </source>
        <translation>Save %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source> 檔案 %1 己存在,是否要取代它嗎? </source>
        <translation>File %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source> 檔案%1 不能尋找.</source>
        <translation>File %1 cannot be found.</translation>
    </message>
    <message>
        <source> 檔案 %1 不能尋找.</source>
        <translation>File %1 cannot be found.</translation>
    </message>
    <message>
        <source> 檔案 %1 己存在,是否要附加這檔案嗎? </source>
        <translation>%1 already exists. Add this file beside it?</translation>
    </message>
    <message>
        <source> 檔案 %1 沒有 VMI 檔案, 它是遊戲嗎? (是: 遊戲, 否: 資料) </source>
        <translation>File %1 has no VMI file. Is it a game? (Yes: game, No: data)</translation>
    </message>
    <message>
        <source> 檔案 %1 沒有 VMI 檔案, 請輸入單元名稱 (最多 12 個字元):</source>
        <translation>File %1 has no VMI file. Enter the save&apos;s name (up to 12 characters):</translation>
    </message>
    <message>
        <source> 請先讀取DCM檔案.</source>
        <translation>Open a DCM file first.</translation>
    </message>
    <message>
        <source> 請先把記憶卡重新整理.</source>
        <translation>Refresh the card first.</translation>
    </message>
    <message>
        <source> 檔案 %1 的區塊鏈不完整, %2 沒有寫入.</source>
        <translation>The block chain of %1 is incomplete; %2 was not written.</translation>
    </message>
    <message>
        <source> 檔案 %1 沒有圖示. </source>
        <translation>%1 has no icon.</translation>
    </message>
    <message>
        <source> 檔案 %1 將取代插槽%2記憶卡的全部資料, 確定嗎? </source>
        <translation>File %1 will replace everything on the card in slot %2. Are you sure?</translation>
    </message>
    <message>
        <source> 確定刪除這檔案嗎? </source>
        <translation>Delete the selected saves?</translation>
    </message>
    <message>
        <source> 全部刪除? </source>
        <translation>Delete everything?</translation>
    </message>
    <message>
        <source> 全部刪除? (Over 200 blocks is ONLY for Kestra memory card).</source>
        <translation>Delete everything? (Over 200 blocks is ONLY for Kestra memory card).</translation>
    </message>
    <message>
        <source> 連接錯誤,請檢查程式的速度值,電源和連接器. </source>
        <translation>Link error. Check the speed setting, the power and the cable.</translation>
    </message>
    <message>
        <source>  -沒硬體連接-</source>
        <translation>  -No hardware-</translation>
    </message>
    <message>
        <source> 連接錯誤,請檢查16M 記憶卡,程式的速度值,電源和連接器.</source>
        <translation>Link error. Check the 16M card, the speed setting, the power and the cable.</translation>
    </message>
    <message>
        <source> 轉頁 : %1</source>
        <translation> Page : %1</translation>
    </message>
    <message>
        <source> 資料傳送失敗. </source>
        <translation>Data transfer failed.</translation>
    </message>
    <message>
        <source> 插槽1沒有記憶卡 </source>
        <translation>No card in slot 1.</translation>
    </message>
    <message>
        <source> 插槽2沒有記憶卡 </source>
        <translation>No card in slot 2.</translation>
    </message>
    <message>
        <source> 檔案 %1 已不在記憶卡上, 資料沒有寫回記憶卡. </source>
        <translation>%1 is no longer on the card; the data was not written back.</translation>
    </message>
    <message>
        <source> 檔案大小已改變 (%1 位元組, 應為 %2 位元組), 資料沒有寫回記憶卡. </source>
        <translation>The file size changed (%1 bytes, should be %2 bytes); the data was not written back.</translation>
    </message>
    <message>
        <source>中文版</source>
        <translation>English</translation>
    </message>
    <message>
        <source>連接等待中..</source>
        <translation>Waiting for link..</translation>
    </message>
    <message>
        <source>轉頁</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>頁數:</source>
        <translation>Page:</translation>
    </message>
    <message>
        <source>按上、下鍵改變頁數</source>
        <translation>Up and Down keys change the page</translation>
    </message>
    <message>
        <source>16M 設定頁數</source>
        <translation>16M set page</translation>
    </message>
    <message>
        <source>編輯...</source>
        <translation>Edit...</translation>
    </message>
    <message>
        <source>編輯選擇中的資料</source>
        <translation>Edit the selected save&apos;s data</translation>
    </message>
    <message>
        <source> 執行反組合程式編輯(Vantric)</source>
        <translation>Disassemble and patch the program (Vantric)</translation>
    </message>
    <message>
        <source>插槽1</source>
        <translation>Slot 1</translation>
    </message>
    <message>
        <source>重新整理插槽 1 資料</source>
        <translation>Refresh slot 1</translation>
    </message>
    <message>
        <source>插槽2</source>
        <translation>Slot 2</translation>
    </message>
    <message>
        <source>重新整理插槽 2 資料</source>
        <translation>Refresh slot 2</translation>
    </message>
    <message>
        <source>檔案</source>
        <translation>File</translation>
    </message>
    <message>
        <source>設定選項...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>設定連接埠的位置和速度值</source>
        <translation>Set the port address and the link speed</translation>
    </message>
    <message>
        <source>離開</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source> 資料在插槽1的記憶卡中</source>
        <translation>Saves on the card in slot 1</translation>
    </message>
    <message>
        <source>記憶卡剩餘的空間....</source>
        <translation>Free space on the card</translation>
    </message>
    <message>
        <source>資料在插槽2的記憶卡中</source>
        <translation>Saves on the card in slot 2</translation>
    </message>
    <message>
        <source> 資料在開啟檔案中</source>
        <translation>Saves in the open file</translation>
    </message>
    <message>
        <source>剩餘的空間....</source>
        <translation>Free space</translation>
    </message>
    <message>
        <source>上載 VMU 頁數</source>
        <translation>Load a DCM file</translation>
    </message>
    <message>
        <source> 加上儲存檔案</source>
        <translation>Add a save file</translation>
    </message>
    <message>
        <source>餘下 200 個 Block </source>
        <translation>200 blocks free</translation>
    </message>
    <message>
        <source>插槽 1 重新整理</source>
        <translation>Refresh slot 1</translation>
    </message>
    <message>
        <source>上載 DCM 檔案</source>
        <translation>Write DCM file to card</translation>
    </message>
    <message>
        <source> 加上 DCI  檔案</source>
        <translation>Add DCI file</translation>
    </message>
    <message>
        <source> 加上 BMP 圖示</source>
        <translation>Add BMP icon</translation>
    </message>
    <message>
        <source> 插槽 1 另儲新檔</source>
        <translation>Save slot 1 as file</translation>
    </message>
    <message>
        <source>插槽 1 全部刪除( 格式化 )</source>
        <translation>Format slot 1 (delete all)</translation>
    </message>
    <message>
        <source>選擇刪除</source>
        <translation>Delete selected</translation>
    </message>
    <message>
        <source>插槽 2 重新整理</source>
        <translation>Refresh slot 2</translation>
    </message>
    <message>
        <source> 插槽 2 另儲新檔</source>
        <translation>Save slot 2 as file</translation>
    </message>
    <message>
        <source>插槽 2 全部刪除( 格式化 )</source>
        <translation>Format slot 2 (delete all)</translation>
    </message>
    <message>
        <source>開新 DCM 檔案</source>
        <translation>New DCM file</translation>
    </message>
    <message>
        <source>開啟 DCM  檔案</source>
        <translation>Open DCM file</translation>
    </message>
    <message>
        <source>關閉 DCM 檔案</source>
        <translation>Close DCM file</translation>
    </message>
    <message>
        <source>另儲 DCM 檔案</source>
        <translation>Save DCM file as</translation>
    </message>
    <message>
        <source>全部刪除( 格式化 )</source>
        <translation>Format (delete all)</translation>
    </message>
    <message>
        <source> 圖示檔案無法讀取: %1 </source>
        <translation>Icon files that cannot be read: %1</translation>
    </message>
    <message>
        <source>餘下 %1 個 Block</source>
        <translation>%1 blocks free</translation>
    </message>
    <message>
        <source> 插槽2 : </source>
        <translation>Slot 2: </translation>
    </message>
    <message>
        <source> 沒有選擇單元</source>
        <translation>No save selected</translation>
    </message>
    <message>
        <source> 插槽2 : %1  已選擇</source>
        <translation>Slot 2: %1 selected</translation>
    </message>
    <message>
        <source> 檔案: %1 已選擇</source>
        <translation>File: %1 selected</translation>
    </message>
    <message>
        <source>%1 Blocks 的總數 </source>
        <translation>%1 blocks in all</translation>
    </message>
    <message>
        <source>%1 Blocks 的總數</source>
        <translation>%1 blocks in all</translation>
    </message>
    <message>
        <source> 轉頁: %1</source>
        <translation> Page: %1</translation>
    </message>
    <message>
        <source> 插槽1沒有記憶卡</source>
        <translation>No card in slot 1.</translation>
    </message>
    <message>
        <source>  連接錯誤,請檢查程式的速度值,電源和連接器. </source>
        <translation>Link error. Check the speed setting, the power and the cable.</translation>
    </message>
    <message>
        <source> 記憶卡沒有格式化</source>
        <translation> Card not formatted</translation>
    </message>
    <message>
        <source>復原上一個動作</source>
        <translation>Undo last command</translation>
    </message>
    <message>
        <source>記憶卡變更記錄</source>
        <translation>Card history</translation>
    </message>
    <message>
        <source>第 %1 頁的記憶卡</source>
        <translation>the card of page %1</translation>
    </message>
    <message>
        <source>插槽 1 的記憶卡</source>
        <translation>the card in slot 1</translation>
    </message>
    <message>
        <source>插槽 2 的記憶卡</source>
        <translation>the card in slot 2</translation>
    </message>
    <message>
        <source>檔案 %1</source>
        <translation>file %1</translation>
    </message>
    <message>
        <source> 要把 %1 復原到 「%2」 之前的狀態嗎? </source>
        <translation>Put %1 back as it was before “%2”?</translation>
    </message>
    <message>
        <source> %1 上次的動作 「%2」 沒有完成. 要把記憶卡復原到那個動作之前的狀態嗎? </source>
        <translation>The last command on %1, “%2”, did not finish. Put the card back as it was before it?</translation>
    </message>
    <message>
        <source> 這張記憶卡沒有可以復原的動作. </source>
        <translation>This card has no command to undo.</translation>
    </message>
    <message>
        <source> 這張記憶卡的變更記錄已損壞, 不會被使用. </source>
        <translation>This card&apos;s change log is damaged and will not be used.</translation>
    </message>
    <message>
        <source> 變更記錄和插入的記憶卡不符, 沒有復原. </source>
        <translation>The change log does not match the inserted card; nothing was undone.</translation>
    </message>
    <message>
        <source> 記憶卡在那個動作之後已被改變 (區塊 %1), 沒有復原. </source>
        <translation>The card changed after that command (blocks %1); nothing was undone.</translation>
    </message>
    <message>
        <source> 讀取記憶卡失敗, 沒有復原. </source>
        <translation>The card could not be read; nothing was undone.</translation>
    </message>
    <message>
        <source> 寫入記憶卡失敗, 記憶卡只復原了一部分. </source>
        <translation>Writing the card failed; it was only partly put back.</translation>
    </message>
    <message>
        <source>最近開啟的檔案</source>
        <translation>Recent card images</translation>
    </message>
    <message>
        <source> 插槽1 : </source>
        <translation>Slot 1: </translation>
    </message>
    <message>
        <source> 插槽1 : %1  已選擇</source>
        <translation>Slot 1: %1 selected</translation>
    </message>
    <message>
        <source> 正在取消, 請稍候... </source>
        <translation>Cancelling, please wait...</translation>
    </message>
    <message>
        <source> 資料傳送中, 請等候完成或按取消. </source>
        <translation>Data is being transferred: wait for it to finish, or press Cancel.</translation>
    </message>
    <message>
        <source>詳細資料</source>
        <translation>Details</translation>
    </message>
    <message>
        <source> 這一步必須做完, 不能中途取消, 請稍候... </source>
        <translation>This step must run to its end and cannot be cancelled; please wait...</translation>
    </message>
    <message>
        <source> 動作已進行到不能停止的地方, 已讓它做完. </source>
        <translation>The command had gone too far to stop and was finished.</translation>
    </message>
</context>
<context>
    <name>quorvel::TMiniEdForm</name>
    <message>
        <source>檔案 (&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>建立新檔 (&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開啟舊檔 (&amp;O)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>儲存檔案 (&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>另儲新檔 (&amp;A)</source>
        <translation>Save &amp;as</translation>
    </message>
    <message>
        <source>任何檔案...</source>
        <translation>Any file...</translation>
    </message>
    <message>
        <source>十六進制格式</source>
        <translation>Hex text</translation>
    </message>
    <message>
        <source>由十六進制格式 檔案加入...</source>
        <translation>Import from hex text...</translation>
    </message>
    <message>
        <source>列印標準</source>
        <translation>Print layout</translation>
    </message>
    <message>
        <source>十六進制</source>
        <translation>Hexadecimal</translation>
    </message>
    <message>
        <source>十進制</source>
        <translation>Decimal</translation>
    </message>
    <message>
        <source>八進制</source>
        <translation>Octal</translation>
    </message>
    <message>
        <source>列印預覽</source>
        <translation>Print preview</translation>
    </message>
    <message>
        <source>列印設定</source>
        <translation>Print setup</translation>
    </message>
    <message>
        <source>列印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>離開</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>編輯 (&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>復原</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>剪下</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>複製</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>貼上</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>貼上文字</source>
        <translation>Paste text</translation>
    </message>
    <message>
        <source>去到...</source>
        <translation>Go to...</translation>
    </message>
    <message>
        <source>跳到</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>跳到上一個</source>
        <translation>Jump forward</translation>
    </message>
    <message>
        <source>跳到下一個</source>
        <translation>Jump backward</translation>
    </message>
    <message>
        <source>尋找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>尋找下一個</source>
        <translation>Find next</translation>
    </message>
    <message>
        <source>檢視 (&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>每行寬度</source>
        <translation>Bytes per line</translation>
    </message>
    <message>
        <source>每行 16 個字元</source>
        <translation>16 bytes per line</translation>
    </message>
    <message>
        <source>每行 32 個字元</source>
        <translation>32 bytes per line</translation>
    </message>
    <message>
        <source>每行 64 個字元</source>
        <translation>64 bytes per line</translation>
    </message>
    <message>
        <source>每列寬度</source>
        <translation>Bytes per group</translation>
    </message>
    <message>
        <source>每列 2 個字元</source>
        <translation>1 byte per group</translation>
    </message>
    <message>
        <source>每列 4 個字元</source>
        <translation>2 bytes per group</translation>
    </message>
    <message>
        <source>每列 8 個字元</source>
        <translation>4 bytes per group</translation>
    </message>
    <message>
        <source>符號區域</source>
        <translation>Caret style</translation>
    </message>
    <message>
        <source>全區</source>
        <translation>Full block</translation>
    </message>
    <message>
        <source>左行</source>
        <translation>Left line</translation>
    </message>
    <message>
        <source>右行</source>
        <translation>Bottom line</translation>
    </message>
    <message>
        <source>自動 </source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>位址格式</source>
        <translation>Offset display</translation>
    </message>
    <message>
        <source>沒有</source>
        <translation>None</translation>
    </message>
    <message>
        <source>轉換格式</source>
        <translation>Translation</translation>
    </message>
    <message>
        <source>方格</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>顯示標記</source>
        <translation>Show markers</translation>
    </message>
    <message>
        <source>字元調換</source>
        <translation>Swap nibbles</translation>
    </message>
    <message>
        <source>掩飾空白字元</source>
        <translation>Mask whitespace</translation>
    </message>
    <message>
        <source>固定檔案大少</source>
        <translation>Fixed file size</translation>
    </message>
    <message>
        <source> 復原: </source>
        <translation>Undo: </translation>
    </message>
    <message>
        <source> 總數 : </source>
        <translation>Amount: </translation>
    </message>
    <message>
        <source>Unnamed File</source>
        <translation>Unnamed File</translation>
    </message>
    <message>
        <source> 改變儲存到<byte value="xd"/>
%1 ?</source>
        <translation>Save changes to<byte value="xd"/>
%1?</translation>
    </message>
    <message>
        <source>Goto file position...</source>
        <translation>Goto file position...</translation>
    </message>
    <message>
        <source>(prefix &quot;0x&quot; or &quot;$&quot; means hex)</source>
        <translation>(prefix &quot;0x&quot; or &quot;$&quot; means hex)</translation>
    </message>
    <message>
        <source>Invalid position</source>
        <translation>Invalid position</translation>
    </message>
    <message>
        <source>Jump amount</source>
        <translation>Jump amount</translation>
    </message>
    <message>
        <source>Enter new value:</source>
        <translation>Enter new value:</translation>
    </message>
    <message>
        <source>Find Data</source>
        <translation>Find Data</translation>
    </message>
    <message>
        <source>&quot;t..&quot; ascii, &quot;T..&quot; + ignore case, else search hex</source>
        <translation>&quot;t..&quot; ascii, &quot;T..&quot; + ignore case, else search hex</translation>
    </message>
    <message>
        <source> 資料不存在. </source>
        <translation>Not found.</translation>
    </message>
    <message>
        <source>Cannot open file<byte value="xd"/>
%1</source>
        <translation>Cannot open file<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Cannot save file<byte value="xd"/>
%1</source>
        <translation>Cannot save file<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <source>Open as read-only</source>
        <translation>Open as read-only</translation>
    </message>
    <message>
        <source>Cannot print</source>
        <translation>Cannot print</translation>
    </message>
</context>
<context>
    <name>quorvel::TSave_sel_Form</name>
    <message>
        <source>單元選取...</source>
        <translation>Selected save...</translation>
    </message>
    <message>
        <source>已選單元</source>
        <translation>Selected save</translation>
    </message>
    <message>
        <source>複製到...</source>
        <translation>Copy to...</translation>
    </message>
    <message>
        <source>已選的單元可以任意複製到其他記憶卡,
或已開啟的 DCM 檔案</source>
        <translation>Copies the selected save to another card
or to the open DCM file</translation>
    </message>
    <message>
        <source>刪除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>儲存圖示...</source>
        <translation>Save icon...</translation>
    </message>
    <message>
        <source>將已選單元的代表圖示另儲到 BMP 檔案</source>
        <translation>Saves the selected save&apos;s icon as a BMP picture</translation>
    </message>
    <message>
        <source>儲存單元...</source>
        <translation>Save to file...</translation>
    </message>
    <message>
        <source>將已選單元另存到一個 DCI 檔案</source>
        <translation>Saves the selected save to a DCI file</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>quorvel::Tasm86kForm</name>
    <message>
        <source> 儲存資料? </source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>  資料還沒儲存,是否退出 ?</source>
        <translation>The changes are not saved. Leave anyway?</translation>
    </message>
    <message>
        <source>檔案</source>
        <translation>File</translation>
    </message>
    <message>
        <source>儲存及離開</source>
        <translation>Save and close</translation>
    </message>
    <message>
        <source>離開</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>位址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>編輯</source>
        <translation>Patch</translation>
    </message>
</context>
<context>
    <name>quorvel::TcopyForm</name>
    <message>
        <source> 插槽1</source>
        <translation>Slot 1</translation>
    </message>
    <message>
        <source> 插槽2</source>
        <translation>Slot 2</translation>
    </message>
    <message>
        <source> 檔案</source>
        <translation>File</translation>
    </message>
    <message>
        <source>複製到...</source>
        <translation>Copy to...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>quorvel::ToptForm</name>
    <message>
        <source> 速度指標: </source>
        <translation> Speed index: </translation>
    </message>
    <message>
        <source> 輸入/輸出</source>
        <translation> I/O </translation>
    </message>
    <message>
        <source>設定選項</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>連接埠設定</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>連接埠位址: LPT 1 = 0x378H, LPT 2 = 0x278H</source>
        <translation>Port address: LPT 1 = 0x378H, LPT 2 = 0x278H</translation>
    </message>
    <message>
        <source>自訂:</source>
        <translation>Custom:</translation>
    </message>
    <message>
        <source>拖曳的功能</source>
        <translation>Drag and drop</translation>
    </message>
    <message>
        <source>複製單元</source>
        <translation>Copy saves</translation>
    </message>
    <message>
        <source>移動單元</source>
        <translation>Move saves</translation>
    </message>
    <message>
        <source>連結速度</source>
        <translation>Link speed</translation>
    </message>
    <message>
        <source>快(速度)</source>
        <translation>Fast (speed)</translation>
    </message>
    <message>
        <source>高(相容性)</source>
        <translation>Safe (compatibility)</translation>
    </message>
    <message>
        <source>可調節控制杆上的速度值來配合你電腦的運作!</source>
        <translation>Move the slider to match the link speed to your computer!</translation>
    </message>
    <message>
        <source>自動重新整理模式</source>
        <translation>Automatic refresh</translation>
    </message>
    <message>
        <source>啟動</source>
        <translation>On</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>離開</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>最短延遲時間:</source>
        <translation>Shortest delay:</translation>
    </message>
    <message>
        <source> 較長延遲時間:</source>
        <translation>Longer delay:</translation>
    </message>
    <message>
        <source>最長延遲時間:</source>
        <translation>Longest delay:</translation>
    </message>
    <message>
        <source>最大值:</source>
        <translation>Maximum:</translation>
    </message>
    <message>
        <source>編輯延長時間</source>
        <translation>Edit delay times</translation>
    </message>
    <message>
        <source>測試顯示</source>
        <translation>Test display</translation>
    </message>
    <message>
        <source> 自訂</source>
        <translation> Custom</translation>
    </message>
    <message>
        <source>變更記錄</source>
        <translation>Change log</translation>
    </message>
    <message>
        <source>記錄每次寫入 (可以復原)</source>
        <translation>Record every write (can be undone)</translation>
    </message>
    <message>
        <source>格式化和上載後讀回檢查</source>
        <translation>Read back after format and restore</translation>
    </message>
    <message>
        <source>單一存檔寫入後讀回檢查</source>
        <translation>Read back after writing a save</translation>
    </message>
</context>
<context>
    <name>quorvel::TselcolorForm</name>
    <message>
        <source>已選的顏色會顯示在 LCD 畫面配合的圖形上</source>
        <translation>The chosen colours show as dark dots on the LCD picture</translation>
    </message>
    <message>
        <source>顏色選擇</source>
        <translation>Colour selection</translation>
    </message>
    <message>
        <source>畫面</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>記憶卡插入了遊戲機後,<byte value="xd"/>
顯示的記憶卡圖示</source>
        <translation>The card&apos;s icon as the console shows it<byte value="xd"/>
once the card is inserted</translation>
    </message>
    <message>
        <source>VMU&apos;s 記憶卡上的液晶體顯示圖表</source>
        <translation>The picture on the VMU&apos;s LCD screen</translation>
    </message>
    <message>
        <source>圖示名稱 :</source>
        <translation>Icon name:</translation>
    </message>
    <message>
        <source>整張記憶卡的名稱</source>
        <translation>The name of the whole card</translation>
    </message>
    <message>
        <source>另外開啟檔案</source>
        <translation>Open another picture</translation>
    </message>
    <message>
        <source>用其他圖片作 LCD 畫面的圖示</source>
        <translation>Use another picture for the LCD icon</translation>
    </message>
    <message>
        <source>自動選擇</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>quorvel::TwaitForm</name>
    <message>
        <source>當資料傳送中,切勿把記憶卡移去!</source>
        <translation>Do not remove the card while data is being transferred!</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>quorvel::fmPreview</name>
    <message>
        <source>Page %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Print preview</translation>
    </message>
</context>
</TS>
