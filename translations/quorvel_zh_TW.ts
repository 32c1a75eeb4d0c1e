<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_TW">
<context>
    <name>Card</name>
    <message>
        <source> 區塊 %1 寫入後讀回的資料不符, 已停止. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..). </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..).  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 是唯讀檔案, 不能寫入. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> BMP 檔案類型必須是 32 x 32 像素, 256 調色板和 8-bits 格式.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>空間不足.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 : %1 的格式並不支援!!!! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 : %1 的格式並不支援 !!!! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 : %1 是無效的! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 無法寫入變更記錄 (%1), 記憶卡沒有被改變. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 變更記錄檔 %1 已損壞 (%2), 已另存為 %3 , 不會被使用. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>      複製中...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 已取消, 記憶卡沒有被改變. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 已取消, 檔案沒有被寫入. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 已取消, 記憶卡上的存檔沒有被改變. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 已取消, 記憶卡已還原成原來的內容. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 已取消, 但記憶卡無法完全還原, 請用復原再試一次. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記憶卡的根區塊無法讀取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>區塊 %1 無法讀取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無法讀取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>由另一個版本寫入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檔案不完整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>內容錯誤</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CodeWindow</name>
    <message>
        <source> 地址超值.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 頁數1的 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 頁數 %1 的 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 無法開啟: %2 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 無法取得大小: %2 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 無法定位: %2 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 無法讀取: %2 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>讀取時檔案變短了</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 無法寫入: %2 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 沒有第 %1 頁, 只有 %2 頁. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 沒有選擇指令. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 這個指令需要 %1 個位元組. </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandTexts</name>
    <message>
        <source> 檔案 %1 不能讀取.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不能寫入.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不能開啟.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 工作資料夾不能建立: %1 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 並列埠不能使用: %1 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 在使用中 .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不是已格式化的記憶卡.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不是已格式化的記憶卡,是否仍要寫入插槽%2嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記憶卡的結構已損壞, 不能寫入.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不能複製</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不能加上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 空間不足.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 遊戲必須放在第 0 區塊起, 但那裡已被使用.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 記憶卡的目錄已滿.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 記憶卡沒有格式化.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 已加上, 但舊的同名檔案不能刪除.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不完整.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 的目錄資料無效, 不能加上.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不能尋找.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 的大小不是 1 到 255 個完整的 Block.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 的大小與它的 VMS 檔案不符.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 的名稱與它的 VMS 檔案不符.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不能分辨是遊戲或資料.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 單元名稱必須是 1 到 12 個字元.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 的名稱太長, VMS 檔案名稱最多 8 個字元.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 %2: 目錄資料無效.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HexEditor</name>
    <message>
        <source>Pos : %1</source>
        <translation>位置 : %1</translation>
    </message>
    <message>
        <source>Sel : %1 - %2</source>
        <translation>選取 : %1 - %2</translation>
    </message>
    <message>
        <source>Size : %1</source>
        <translation>大小 : %1</translation>
    </message>
    <message>
        <source>Byte changed</source>
        <translation>位元組已改變</translation>
    </message>
    <message>
        <source>Byte(s) removed</source>
        <translation>位元組已刪除</translation>
    </message>
    <message>
        <source>Insert buffer</source>
        <translation>插入資料</translation>
    </message>
    <message>
        <source>Replace selection</source>
        <translation>取代選取資料</translation>
    </message>
    <message>
        <source>Append buffer</source>
        <translation>附加資料</translation>
    </message>
    <message>
        <source>Insert nibble</source>
        <translation>插入半位元組</translation>
    </message>
    <message>
        <source>Delete nibble</source>
        <translation>刪除半位元組</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>轉換</translation>
    </message>
    <message>
        <source>No Undo</source>
        <translation>沒有可復原的動作</translation>
    </message>
</context>
<context>
    <name>quorvel::CardHistoryWindow</name>
    <message>
        <source>記憶卡變更記錄</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編號</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日期時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>動作</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>存檔</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>完成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復原到這個動作之前</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>關閉</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未完成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>失敗</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複製</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>加上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>刪除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上載</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>寫入區塊</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復原</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> %1 沒有變更記錄. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> %1 的變更記錄: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::FileDialogs</name>
    <message>
        <source>單元名稱</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>遊戲</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>資料</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::SaveRowsModel</name>
    <message>
        <source>單元名稱</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記憶卡說明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>主機說明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>類型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>Blocks</translation>
    </message>
    <message>
        <source>日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>時間</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::TDelete_Form</name>
    <message>
        <source>刪除單元...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>刪除單元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>確認</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::TForm1</name>
    <message>
        <source>沒有選擇單元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 圖示名稱的字元 %1 不能儲存在記憶卡上 (只可用英文字母, 數字和西歐字元), 圖示沒有加上. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 儲存 %1 己存在,是否要取代它嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 己存在,是否要取代它嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案%1 不能尋找.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 不能尋找.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 己存在,是否要附加這檔案嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 沒有 VMI 檔案, 它是遊戲嗎? (是: 遊戲, 否: 資料) </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 沒有 VMI 檔案, 請輸入單元名稱 (最多 12 個字元):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 請先讀取DCM檔案.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 請先把記憶卡重新整理.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 的區塊鏈不完整, %2 沒有寫入.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 沒有圖示. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 將取代插槽%2記憶卡的全部資料, 確定嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 確定刪除這檔案嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 全部刪除? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 全部刪除? (Over 200 blocks is ONLY for Kestra memory card).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 連接錯誤,請檢查程式的速度值,電源和連接器. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  -沒硬體連接-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 連接錯誤,請檢查16M 記憶卡,程式的速度值,電源和連接器.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 轉頁 : %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 資料傳送失敗. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽1沒有記憶卡 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽2沒有記憶卡 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案 %1 已不在記憶卡上, 資料沒有寫回記憶卡. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案大小已改變 (%1 位元組, 應為 %2 位元組), 資料沒有寫回記憶卡. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>中文版</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接等待中..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>轉頁</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>頁數:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按上、下鍵改變頁數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16M 設定頁數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編輯...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編輯選擇中的資料</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 執行反組合程式編輯(Vantric)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重新整理插槽 1 資料</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重新整理插槽 2 資料</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定選項...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定連接埠的位置和速度值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>離開</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 資料在插槽1的記憶卡中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記憶卡剩餘的空間....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>資料在插槽2的記憶卡中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 資料在開啟檔案中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剩餘的空間....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上載 VMU 頁數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 加上儲存檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>餘下 200 個 Block </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽 1 重新整理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上載 DCM 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 加上 DCI  檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 加上 BMP 圖示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽 1 另儲新檔</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽 1 全部刪除( 格式化 )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選擇刪除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽 2 重新整理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽 2 另儲新檔</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽 2 全部刪除( 格式化 )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開新 DCM 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開啟 DCM  檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>關閉 DCM 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另儲 DCM 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部刪除( 格式化 )</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 圖示檔案無法讀取: %1 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>餘下 %1 個 Block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽2 : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 沒有選擇單元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽2 : %1  已選擇</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案: %1 已選擇</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Blocks 的總數 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Blocks 的總數</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 轉頁: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽1沒有記憶卡</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  連接錯誤,請檢查程式的速度值,電源和連接器. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 記憶卡沒有格式化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復原上一個動作</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記憶卡變更記錄</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 頁的記憶卡</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽 1 的記憶卡</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>插槽 2 的記憶卡</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檔案 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 要把 %1 復原到 「%2」 之前的狀態嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> %1 上次的動作 「%2」 沒有完成. 要把記憶卡復原到那個動作之前的狀態嗎? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 這張記憶卡沒有可以復原的動作. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 這張記憶卡的變更記錄已損壞, 不會被使用. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 變更記錄和插入的記憶卡不符, 沒有復原. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 記憶卡在那個動作之後已被改變 (區塊 %1), 沒有復原. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 讀取記憶卡失敗, 沒有復原. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 寫入記憶卡失敗, 記憶卡只復原了一部分. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近開啟的檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽1 : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽1 : %1  已選擇</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 正在取消, 請稍候... </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 資料傳送中, 請等候完成或按取消. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>詳細資料</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 這一步必須做完, 不能中途取消, 請稍候... </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 動作已進行到不能停止的地方, 已讓它做完. </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::TMiniEdForm</name>
    <message>
        <source>檔案 (&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>建立新檔 (&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開啟舊檔 (&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存檔案 (&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另儲新檔 (&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任何檔案...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>十六進制格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>由十六進制格式 檔案加入...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>列印標準</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>十六進制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>十進制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>八進制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>列印預覽</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>列印設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>列印</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>離開</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編輯 (&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復原</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剪下</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複製</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼上文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>去到...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳到</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳到上一個</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳到下一個</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>尋找</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>尋找下一個</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檢視 (&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每行寬度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每行 16 個字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每行 32 個字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每行 64 個字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每列寬度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每列 2 個字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每列 4 個字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每列 8 個字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>符號區域</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全區</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自動 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位址格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>沒有</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>轉換格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>方格</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>顯示標記</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字元調換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>掩飾空白字元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>固定檔案大少</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 復原: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 總數 : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unnamed File</source>
        <translation>未命名檔案</translation>
    </message>
    <message>
        <source> 改變儲存到<byte value="xd"/>
%1 ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Goto file position...</source>
        <translation>去到檔案位置...</translation>
    </message>
    <message>
        <source>(prefix &quot;0x&quot; or &quot;$&quot; means hex)</source>
        <translation>(前面加上 &quot;0x&quot; 或 &quot;$&quot; 表示十六進制)</translation>
    </message>
    <message>
        <source>Invalid position</source>
        <translation> 位置無效. </translation>
    </message>
    <message>
        <source>Jump amount</source>
        <translation>跳到的總數</translation>
    </message>
    <message>
        <source>Enter new value:</source>
        <translation>請輸入新的數值:</translation>
    </message>
    <message>
        <source>Find Data</source>
        <translation>尋找資料</translation>
    </message>
    <message>
        <source>&quot;t..&quot; ascii, &quot;T..&quot; + ignore case, else search hex</source>
        <translation>&quot;t..&quot; 尋找文字, &quot;T..&quot; 不分大小寫, 其他尋找十六進制</translation>
    </message>
    <message>
        <source> 資料不存在. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file<byte value="xd"/>
%1</source>
        <translation> 檔案不能開啟<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Cannot save file<byte value="xd"/>
%1</source>
        <translation> 檔案不能儲存<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>開啟檔案</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>另儲新檔</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>所有檔案 (*)</translation>
    </message>
    <message>
        <source>Open as read-only</source>
        <translation>以唯讀方式開啟</translation>
    </message>
    <message>
        <source>Cannot print</source>
        <translation> 不能列印. </translation>
    </message>
</context>
<context>
    <name>quorvel::TSave_sel_Form</name>
    <message>
        <source>單元選取...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已選單元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複製到...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已選的單元可以任意複製到其他記憶卡,
或已開啟的 DCM 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>刪除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存圖示...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>將已選單元的代表圖示另儲到 BMP 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存單元...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>將已選單元另存到一個 DCI 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>返回</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::Tasm86kForm</name>
    <message>
        <source> 儲存資料? </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  資料還沒儲存,是否退出 ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>儲存及離開</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>離開</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編輯</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::TcopyForm</name>
    <message>
        <source> 插槽1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 插槽2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複製到...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::ToptForm</name>
    <message>
        <source> 速度指標: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 輸入/輸出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定選項</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連接埠位址: LPT 1 = 0x378H, LPT 2 = 0x278H</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自訂:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拖曳的功能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複製單元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>移動單元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>連結速度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>快(速度)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高(相容性)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>可調節控制杆上的速度值來配合你電腦的運作!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自動重新整理模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>啟動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>確定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>離開</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最短延遲時間:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 較長延遲時間:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最長延遲時間:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最大值:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編輯延長時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>測試顯示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 自訂</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>變更記錄</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記錄每次寫入 (可以復原)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式化和上載後讀回檢查</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>單一存檔寫入後讀回檢查</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::TselcolorForm</name>
    <message>
        <source>已選的顏色會顯示在 LCD 畫面配合的圖形上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>顏色選擇</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>畫面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>記憶卡插入了遊戲機後,<byte value="xd"/>
顯示的記憶卡圖示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VMU&apos;s 記憶卡上的液晶體顯示圖表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圖示名稱 :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>整張記憶卡的名稱</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另外開啟檔案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用其他圖片作 LCD 畫面的圖示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自動選擇</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>確認</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::TwaitForm</name>
    <message>
        <source>當資料傳送中,切勿把記憶卡移去!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quorvel::fmPreview</name>
    <message>
        <source>Page %1</source>
        <translation>頁數 %1</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>列印預覽</translation>
    </message>
</context>
</TS>
